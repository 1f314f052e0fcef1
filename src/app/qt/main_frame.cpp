#include "app/qt/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <filesystem>
#include <vector>

#include "app/command_ids.h"
#include "app/curve_file_commands.h"
#include "app/help_commands.h"
#include "app/menu_model.h"
#include "app/qt/app_dialogs_qt.h"
#include "app/qt/lock_key_indicators.h"
#include "app/qt/results_window.h"
#include "app/qt/shipped_files.h"
#include "app/qt/toolbar_icons.h"
#include "curves/qt/import_setup_dialog.h"
#include "modgraph/qt/modulus_graph_owner.h"
#include "platform/qt/qt_clipboard.h"
#include "view/graph_clicks.h"
#include "view/qt/graph_dialogs_qt.h"
#include "view/qt/graph_output.h"
#include "view/qt/graph_printing.h"
#include "view/qt/mivaro_view.h"

namespace mivaro {

namespace {

constexpr const char* kCommandIdProperty = "mivaroCommandId";

QString toQt(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

CMainFrame::CMainFrame(const std::string& settingsDirectory, RecentFileList& recentFiles,
                       const FramePorts& ports, QWidget* parent)
    : QMainWindow(parent), m_settingsDirectory(settingsDirectory), m_ports(ports) {
    if (m_ports.messages == nullptr) {
        m_qtMessages = std::make_unique<QtMessagePort>(this);
        m_ports.messages = m_qtMessages.get();
        // The download question belongs to no window.
        m_qtOwnerlessMessages = std::make_unique<QtMessagePort>(nullptr);
        m_ownerlessMessages = m_qtOwnerlessMessages.get();
    } else {
        m_ownerlessMessages = m_ports.messages;
    }
    if (m_ports.fileDialogs == nullptr) {
        m_qtFileDialogs = std::make_unique<QtFileDialogPort>(this);
        m_ports.fileDialogs = m_qtFileDialogs.get();
    }
    if (m_ports.shell == nullptr) {
        m_qtShell = std::make_unique<QtShellPort>();
        m_ports.shell = m_qtShell.get();
    }
    if (m_ports.dialogs == nullptr) {
        m_qtDialogs = std::make_unique<QtAppDialogs>(this);
        m_ports.dialogs = m_qtDialogs.get();
    }
    if (m_ports.importSetup == nullptr) {
        m_qtImportSetup = std::make_unique<QtImportSetupDialog>(this);
        m_ports.importSetup = m_qtImportSetup.get();
    }

    m_doc = std::make_unique<CMivaro4Doc>(m_settingsDirectory, *m_ports.messages, m_repaint);
    m_session = std::make_unique<ProjectSession>(*m_doc, *m_ports.messages, recentFiles);
    m_session->onTitleChanged = [this] { setWindowTitle(toQt(m_session->frameTitle())); };

    m_printing = std::make_unique<GraphPrinting>();
    m_view = new CMivaro4View(*m_doc, this);
    m_repaint.setTarget([view = m_view] { view->requestRepaint(); });
    setCentralWidget(m_view);
    m_modulusGraphDialogs = std::make_unique<QtGraphDialogs>(this);
    MessagePort* modulusGraphMessages = m_ports.messages;
    if (m_qtMessages) {
        m_qtModulusGraphMessages = std::make_unique<QtMessagePort>(this);
        modulusGraphMessages = m_qtModulusGraphMessages.get();
    }
    m_modulusGraph =
        std::make_unique<ModulusGraphWindowOwner>(m_view, *m_modulusGraphDialogs, *modulusGraphMessages);
    m_modulusGraph->onWindowCreated = [this](XYGraphWindow& window) {
        m_modulusGraphDialogs->setParent(&window);
        if (m_qtModulusGraphMessages) {
            m_qtModulusGraphMessages->setParent(&window);
        }
    };
    m_view->setModulusGraph(m_modulusGraph.get());
    setWindowIcon(QIcon(programIcon(32)));
    setWindowTitle(toQt(m_session->frameTitle()));
    setAcceptDrops(true);

    createMenus();
    createAccelerators();
    createToolBar();
    createStatusBar();
    addDocumentAndViewHandlers();
    addGraphOutputHandlers();
    connectResults();
    updateCommandStates();
}

CMainFrame::~CMainFrame() {
    // The view refers to the document: let it go first, not with the
    // window's children after the document is gone.
    m_repaint.setTarget(nullptr);
    m_view->setModulusGraph(nullptr);
    m_view->clickCommands().setResultObserver(nullptr);
    m_view->setClickHintHandler(nullptr);
    m_modulusGraph.reset();
    m_results.reset();
    delete takeCentralWidget();
    m_view = nullptr;
}

QAction* CMainFrame::actionFor(int id) {
    QAction*& action = m_actions[id];
    if (action == nullptr) {
        action = new QAction(this);
        action->setProperty(kCommandIdProperty, id);
        action->setStatusTip(toQt(statusPrompt(id)));
        connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
    }
    return action;
}

QAction* CMainFrame::commandAction(int id) const {
    const auto found = m_actions.find(id);
    return found == m_actions.end() ? nullptr : found->second;
}

void CMainFrame::createMenus() {
    for (const MenuDefinition& definition : mainMenu()) {
        QMenu* menu = menuBar()->addMenu(toQt(definition.title));
        // Every separator of the table shows, the one closing "&Help" too.
        menu->setSeparatorsCollapsible(false);
        menu->installEventFilter(this);
        for (const MenuItem& item : definition.items) {
            if (item.separator()) {
                menu->addSeparator();
                continue;
            }
            // The text carries the key after "\t", so Qt shows it without the
            // action holding a shortcut; the keys live in the accelerators.
            QAction* action = actionFor(item.id);
            action->setText(toQt(item.text));
            menu->addAction(action);
        }
    }
    for (int id : {command::ViewToolbar, command::ViewStatusBar}) {
        actionFor(id)->setCheckable(true);
        actionFor(id)->setChecked(true);
    }
    actionFor(command::ViewResults)->setCheckable(true);
}

void CMainFrame::createAccelerators() {
    // One action per key, on the frame, separate from the menu items: a menu
    // item without a key in its text (Open .MVR) shows none.
    for (const Accelerator& accelerator : accelerators()) {
        auto* action = new QAction(toQt(accelerator.keys), this);
        action->setShortcut(QKeySequence(toQt(accelerator.keys), QKeySequence::PortableText));
        action->setShortcutContext(Qt::WindowShortcut);
        action->setProperty(kCommandIdProperty, accelerator.id);
        const int id = accelerator.id;
        connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
        addAction(action);
    }
}

void CMainFrame::createToolBar() {
    m_toolBar = new QToolBar("Standard", this);
    m_toolBar->setObjectName("mainToolBar");
    m_toolBar->setIconSize(QSize(kToolbarButtonWidth, kToolbarButtonHeight));
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    setDockOptions(dockOptions() | QMainWindow::AllowNestedDocks);
    addToolBar(Qt::TopToolBarArea, m_toolBar);

    for (int id : toolbarButtons()) {
        if (id == 0) {
            m_toolBar->addSeparator();
            continue;
        }
        // A button of its own: its text is the tooltip (none for import and
        // undo text), not the menu text.
        auto* button = new QAction(QIcon(toolbarIcon(id)), toQt(mivaro::toolTip(id)), this);
        button->setProperty(kCommandIdProperty, id);
        button->setStatusTip(toQt(statusPrompt(id)));
        button->setToolTip(toQt(mivaro::toolTip(id)));
        connect(button, &QAction::triggered, this, [this, id] { runCommand(id); });
        m_toolBar->addAction(button);
    }
    connect(m_toolBar, &QToolBar::visibilityChanged, this,
            [this](bool visible) { commandAction(command::ViewToolbar)->setChecked(visible); });
}

void CMainFrame::createStatusBar() {
    QStatusBar* bar = statusBar();
    m_lockIndicators = new LockKeyIndicators(*bar);
    // The message pane rests on "Ready" when no prompt is shown.
    connect(bar, &QStatusBar::messageChanged, this, [bar](const QString& message) {
        if (message.isEmpty()) {
            bar->showMessage("Ready");
        }
    });
    bar->showMessage("Ready");
}

void CMainFrame::addDocumentAndViewHandlers() {
    using command::IndentationSetup;
    m_router.add(CommandTarget::View, command::EditUndoText, [this] { m_view->onUndoText(); });
    m_router.add(CommandTarget::View, command::EditTextLine, [this] { m_view->onTextLine(); });
    m_router.add(CommandTarget::View, IndentationSetup,
                 [this] { runIndentationSetup(m_settingsDirectory, dialogs()); });
    m_router.add(CommandTarget::View, command::SetupHelpScreen, [this] { dialogs().showSetupHelpScreen(); });

    m_router.add(CommandTarget::Document, command::FileOpen, [this] { m_doc->onOpenMvr(fileDialogs()); });
    m_router.add(CommandTarget::Document, command::FileImport,
                 [this] { importTextFiles(*m_doc, fileDialogs(), importSetup()); });
    m_router.add(CommandTarget::Document, command::FileSaveAsMvr,
                 [this] { saveAsMvr(*m_doc, fileDialogs()); });
    m_router.add(CommandTarget::Document, command::FileSave, [this] { m_session->save(fileDialogs()); });
    m_router.add(CommandTarget::Document, command::FileSaveAs, [this] { m_session->saveAs(fileDialogs()); });
    m_router.add(CommandTarget::Document, command::FileOpenProject,
                 [this] { m_session->openProject(fileDialogs()); });
    m_router.add(CommandTarget::Document, command::HelpFile, [this] {
        // The working directory now, not the project's: the user edits the file there.
        openHelpFile(std::filesystem::current_path().string(), shippedHelpText(), shell());
    });
    m_router.add(CommandTarget::Document, command::DownloadLatest,
                 [this] { offerDownload(*m_ownerlessMessages, shell()); });

    m_router.add(CommandTarget::Frame, command::ViewToolbar, [this] {
        m_toolBar->setVisible(!m_toolBar->isVisible());
        commandAction(command::ViewToolbar)->setChecked(m_toolBar->isVisible());
    });
    m_router.add(CommandTarget::Frame, command::ViewStatusBar, [this] {
        statusBar()->setVisible(!statusBar()->isVisible());
        commandAction(command::ViewStatusBar)->setChecked(statusBar()->isVisible());
    });
}

void CMainFrame::connectResults() {
    m_results = std::make_unique<ResultsWindowOwner>(this, *m_doc, messages(), fileDialogs());
    m_results->onShownChanged = [this](bool shown) {
        commandAction(command::ViewResults)->setChecked(shown);
    };
    m_router.add(CommandTarget::Frame, command::ViewResults, [this] { m_results->toggle(); });
    m_view->clickCommands().setResultObserver([this](const ResultRow& row) { m_results->add(row); });
    m_view->setClickHintHandler([this](const std::string& hint) { showClickHint(hint); });
}

void CMainFrame::showClickHint(const std::string& hint) {
    QStatusBar* bar = statusBar();
    if (!hint.empty()) {
        m_clickHint = toQt(hint);
        bar->showMessage(m_clickHint);
        return;
    }
    // Back to the prompts, unless something else has taken the pane since.
    if (!m_clickHint.isEmpty() && bar->currentMessage() == m_clickHint) {
        bar->clearMessage();
    }
    m_clickHint.clear();
}

void CMainFrame::addGraphOutputHandlers() {
    m_router.add(CommandTarget::View, command::EditCopy, [this] { copyActiveWindow(); });
    m_router.add(CommandTarget::View, command::FilePrint, [this] {
        std::string error;
        if (!m_printing->print(this, m_view->graph(), m_view->graphData(), m_view->size(), error)) {
            messages().showMessage(error, "Error");
        }
    });
    m_router.add(CommandTarget::View, command::FileExportGraph, [this] { exportGraph(); });
    // The printer belongs to the application, as its page setup does.
    m_router.add(CommandTarget::Application, command::FilePrintSetup,
                 [this] { m_printing->printSetup(this); });
}

void CMainFrame::copyActiveWindow() {
    // The active top-level window as displayed; for the main window its
    // client area, which starts below the menu bar.
    QWidget* active = QApplication::activeWindow();
    if (active == nullptr || active == this) {
        const int menuHeight = menuBar()->isVisible() ? menuBar()->geometry().bottom() + 1 : 0;
        QtClipboardPort clipboard(*this, menuHeight);
        copyWindowToClipboard(clipboard, messages());
        return;
    }
    QtClipboardPort clipboard(*active);
    copyWindowToClipboard(clipboard, messages());
}

void CMainFrame::exportGraph() {
    SaveFileRequest request;
    request.title = "Export Graph";
    request.filters = {{"PNG Picture (*.png)", {"*.png"}},
                       {"SVG Drawing (*.svg)", {"*.svg"}},
                       {"PDF Document (*.pdf)", {"*.pdf"}}};
    request.defaultExtension = "png";
    request.initialPath = "graph.png";
    const std::optional<std::string> path = fileDialogs().chooseFileToSave(request);
    if (!path) {
        return;
    }
    std::string error;
    if (!mivaro::exportGraph(m_view->graph(), m_view->graphData(), m_view->size(), *path, error)) {
        messages().showMessage(error, "Error");
        return;
    }
    messages().showMessage(*path, "File Saved As:");
}

void CMainFrame::updateCommandStates() {
    for (QAction* action : findChildren<QAction*>()) {
        const QVariant id = action->property(kCommandIdProperty);
        // Keys bound to nothing stay live and simply do nothing.
        if (id.isValid() && action->shortcut().isEmpty()) {
            action->setEnabled(m_router.handles(id.toInt()));
        }
    }
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    // Qt gives a highlighted menu item its prompt only while the item is
    // enabled; the prompts of commands not built yet show all the same.
    auto* menu = qobject_cast<QMenu*>(watched);
    if (menu != nullptr && (event->type() == QEvent::MouseMove || event->type() == QEvent::Hide)) {
        QAction* item = event->type() == QEvent::MouseMove
                            ? menu->actionAt(static_cast<QMouseEvent*>(event)->position().toPoint())
                            : nullptr;
        const bool wasShown = !m_disabledPrompt.isEmpty();
        m_disabledPrompt =
            item != nullptr && !item->isEnabled() && !item->isSeparator() ? item->statusTip() : QString();
        if (!m_disabledPrompt.isEmpty()) {
            statusBar()->showMessage(m_disabledPrompt);
        } else if (wasShown) {
            statusBar()->clearMessage();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool CMainFrame::event(QEvent* event) {
    // The menu clears the prompt when the pointer reaches a greyed item;
    // keep that item's prompt.
    if (event->type() == QEvent::StatusTip && !m_disabledPrompt.isEmpty() &&
        static_cast<QStatusTipEvent*>(event)->tip().isEmpty()) {
        statusBar()->showMessage(m_disabledPrompt);
        return true;
    }
    return QMainWindow::event(event);
}

bool CMainFrame::runCommand(int id) {
    return m_router.dispatch(id);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            paths.push_back(url.toLocalFile().toStdString());
        }
    }
    event->acceptProposedAction();
    // Open once the drop is over: a message box or a long load inside the
    // drop would keep the file manager's drag waiting.
    QTimer::singleShot(0, this, [this, paths] {
        // Each dropped file is opened as a project in turn; the last one stays.
        for (const std::string& path : paths) {
            m_session->openDocument(path);
        }
    });
}

}  // namespace mivaro
