#include "app/qt/results_window.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <ostream>

#include "analysis/batch_analysis.h"
#include "app/all_curves_analysis.h"
#include "app/window_placement.h"
#include "curves/mivaro_doc.h"
#include "platform/c_format.h"
#include "platform/safe_file_write.h"

namespace mivaro {

namespace {

QString toQt(const std::string& text) {
    return QString::fromStdString(text);
}

// Outer size the window asks for beside the main window, and the least it takes.
constexpr WindowSizes kSizes{760, 360, 420, 220};

}  // namespace

// The table as Qt's views read it.
class ResultsTableModel final : public QAbstractTableModel {
  public:
    ResultsTableModel(const ResultsTable& table, QObject* parent)
        : QAbstractTableModel(parent), m_table(table) {}

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_table.rowCount());
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_table.columns().size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        const auto row = static_cast<std::size_t>(index.row());
        const auto column = static_cast<std::size_t>(index.column());
        switch (role) {
            case Qt::DisplayRole:
                return toQt(m_table.displayText(row, column));
            case Qt::ToolTipRole:
                return toQt(m_table.exactText(row, column));
            case Qt::TextAlignmentRole:
                return m_table.number(row, column) ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                   : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
            default:
                return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Vertical) {
            return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
        }
        const auto column = static_cast<std::size_t>(section);
        if (column >= m_table.columns().size()) {
            return {};
        }
        if (role == Qt::DisplayRole) {
            return toQt(columnTitle(m_table.columns()[column]));
        }
        if (role == Qt::ToolTipRole) {
            return toQt(m_table.columns()[column]);  // the name copies and the CSV carry
        }
        return {};
    }

    void beginAppend() {
        const int row = static_cast<int>(m_table.rowCount());
        beginInsertRows({}, row, row);
    }
    void endAppend(bool columnsChanged) {
        endInsertRows();
        if (columnsChanged) {
            beginResetModel();
            endResetModel();
        }
    }
    void beginClear() { beginResetModel(); }
    void endClear() { endResetModel(); }

  private:
    const ResultsTable& m_table;
};

// Numbers sort as numbers, before texts; empty cells last either way.
class ResultsSortModel final : public QSortFilterProxyModel {
  public:
    ResultsSortModel(const ResultsTable& table, QObject* parent)
        : QSortFilterProxyModel(parent), m_table(table) {}

  protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override {
        const auto column = static_cast<std::size_t>(left.column());
        const auto a = static_cast<std::size_t>(left.row());
        const auto b = static_cast<std::size_t>(right.row());
        const std::optional<double> x = m_table.number(a, column);
        const std::optional<double> y = m_table.number(b, column);
        if (x && y) {
            return *x < *y;
        }
        if (x || y) {
            return x.has_value();
        }
        const std::string s = m_table.exactText(a, column);
        const std::string t = m_table.exactText(b, column);
        if (s.empty() != t.empty()) {
            return t.empty();
        }
        return QString::localeAwareCompare(toQt(s), toQt(t)) < 0;
    }

  private:
    const ResultsTable& m_table;
};

ResultsWindow::ResultsWindow(ResultsTable& table, CMivaro4Doc& doc, MessagePort& messages,
                             FileDialogPort& fileDialogs, QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      m_table(table),
      m_doc(doc),
      m_messages(messages),
      m_fileDialogs(fileDialogs) {
    setWindowTitle("Results");
    setObjectName("resultsWindow");
    setAttribute(Qt::WA_QuitOnClose, false);  // closing only hides it

    m_model = new ResultsTableModel(m_table, this);
    m_sort = new ResultsSortModel(m_table, this);
    m_sort->setSourceModel(m_model);
    m_view = new QTableView(this);
    m_view->setModel(m_sort);
    m_view->setSortingEnabled(true);
    m_view->sortByColumn(-1, Qt::AscendingOrder);  // newest last until a header is clicked
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_view->horizontalHeader()->setSectionsMovable(false);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    auto* copy = new QShortcut(QKeySequence::Copy, m_view, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(copy, &QShortcut::activated, this, [this] { copyRows(); });

    m_analyse = new QPushButton("Analyse all curves", this);
    m_save = new QPushButton("Save CSV...", this);
    m_clear = new QPushButton("Clear", this);
    m_cancelButton = new QPushButton("Cancel", this);
    m_progress = new QProgressBar(this);
    m_status = new QLabel(this);
    m_analyse->setAutoDefault(false);
    connect(m_analyse, &QPushButton::clicked, this, [this] { analyseAllCurves(); });
    connect(m_save, &QPushButton::clicked, this, [this] { saveCsv(); });
    connect(m_clear, &QPushButton::clicked, this, [this] { clearRows(); });
    connect(m_cancelButton, &QPushButton::clicked, this, [this] { cancelAnalysis(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_analyse);
    buttons->addWidget(m_progress, 1);
    buttons->addWidget(m_cancelButton);
    buttons->addWidget(m_status, 1);
    buttons->addWidget(m_save);
    buttons->addWidget(m_clear);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(m_view, 1);
    layout->addLayout(buttons);
    setBusy(false, 0);
    resize(kSizes.preferredWidth, kSizes.preferredHeight);
    m_view->resizeColumnsToContents();
}

ResultsWindow::~ResultsWindow() {
    // The worker hands rows to this window: stop it before the window goes.
    m_cancel = true;
    if (m_worker.joinable()) {
        m_worker.join();
    }
}

void ResultsWindow::appendRow(ResultRow row) {
    m_model->beginAppend();
    const bool columnsChanged = m_table.add(std::move(row));
    m_model->endAppend(columnsChanged);
    if (columnsChanged) {
        m_view->resizeColumnsToContents();
    }
    m_view->scrollToBottom();
}

void ResultsWindow::copyRows() {
    std::vector<std::size_t> rows;
    const QModelIndexList selected = m_view->selectionModel()->selectedRows();
    std::vector<int> shown;
    for (const QModelIndex& index : selected) {
        shown.push_back(index.row());
    }
    if (shown.empty()) {
        for (int r = 0; r < m_sort->rowCount(); ++r) {
            shown.push_back(r);
        }
    }
    // In the order the window shows them.
    std::sort(shown.begin(), shown.end());
    for (const int r : shown) {
        rows.push_back(static_cast<std::size_t>(m_sort->mapToSource(m_sort->index(r, 0)).row()));
    }
    const std::string text = rows.empty() ? m_table.tabSeparated({}) : m_table.tabSeparated(rows);
    QApplication::clipboard()->setText(toQt(text));
}

void ResultsWindow::saveCsv() {
    SaveFileRequest request;
    request.title = "Save CSV";
    request.filters = {{"CSV Table (*.csv)", {"*.csv"}}};
    request.defaultExtension = "csv";
    request.initialPath = "results.csv";
    const std::optional<std::string> path = m_fileDialogs.chooseFileToSave(request);
    if (!path) {
        return;
    }
    const std::string csv = m_table.csv();
    std::string error;
    if (!saveFileSafely(
            *path, [&csv](std::ostream& out) { out << csv; }, error)) {
        m_messages.showMessage(error, "Error");
        return;
    }
    m_messages.showMessage(*path, "File Saved As:");
}

void ResultsWindow::clearRows() {
    if (m_table.rowCount() == 0) {
        return;
    }
    if (m_messages.showMessage(formatC("Remove all %zu rows from the Results table?", m_table.rowCount()),
                               "Results", MessageButtons::YesNo) != MessageAnswer::Yes) {
        return;
    }
    m_model->beginClear();
    m_table.clear();
    m_model->endClear();
}

void ResultsWindow::analyseAllCurves() {
    if (analysing()) {
        return;
    }
    const std::vector<std::string> files = loadedCurveFiles(m_doc.curveSet());
    if (files.empty()) {
        m_messages.showMessage("No curves are loaded: open curve files first.", "Message");
        return;
    }
    BatchSettings settings = readBatchSettings(m_doc.indentCurve().settingsDirectory);
    // With the instrument-grade results, as `mivaro-cli batch --iso` gives them.
    settings.iso = isoSetupFromSettings(settings.modulus);
    m_cancel = false;
    setBusy(true, static_cast<int>(files.size()));
    const unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
    // The rows come back through the event loop, so the window stays live
    // and takes them on its own thread in file order.
    m_worker = std::thread([this, files, settings, jobs] {
        mivaro::analyseAllCurves(files, settings, jobs, m_cancel, [this](ResultRow row, std::size_t done) {
            QMetaObject::invokeMethod(
                this, [this, row = std::move(row), done] { addRowFromWorker(row, done); },
                Qt::QueuedConnection);
        });
        QMetaObject::invokeMethod(
            this, [this] { finishAnalysis(); }, Qt::QueuedConnection);
    });
}

void ResultsWindow::cancelAnalysis() {
    m_cancel = true;
    m_status->setText("Cancelling...");
}

void ResultsWindow::addRowFromWorker(const ResultRow& row, std::size_t done) {
    if (m_cancel) {
        return;  // rows still queued when Cancel was pressed
    }
    appendRow(row);
    m_progress->setValue(static_cast<int>(done));
}

void ResultsWindow::finishAnalysis() {
    if (m_worker.joinable()) {
        m_worker.join();
    }
    setBusy(false, 0);
    emit analysisFinished();
}

void ResultsWindow::setBusy(bool busy, int total) {
    m_progress->setVisible(busy);
    m_cancelButton->setVisible(busy);
    m_status->setVisible(!busy || m_cancel);
    m_status->clear();
    m_analyse->setEnabled(!busy);
    m_clear->setEnabled(!busy);
    m_progress->setRange(0, std::max(total, 1));
    m_progress->setValue(0);
}

void ResultsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    emit shownChanged(true);
}

void ResultsWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    emit shownChanged(false);
}

ResultsWindowOwner::ResultsWindowOwner(QWidget* mainWindow, CMivaro4Doc& doc, MessagePort& messages,
                                       FileDialogPort& fileDialogs)
    : m_mainWindow(mainWindow), m_doc(doc), m_messages(messages), m_fileDialogs(fileDialogs) {}

ResultsWindowOwner::~ResultsWindowOwner() {
    onShownChanged = nullptr;
    delete m_window.data();  // already gone when the main window took it along
}

ResultsWindow& ResultsWindowOwner::windowCreated() {
    if (m_window.isNull()) {
        m_window = new ResultsWindow(m_table, m_doc, m_messages, m_fileDialogs, m_mainWindow);
        QObject::connect(m_window.data(), &ResultsWindow::shownChanged, m_window.data(), [this](bool shown) {
            if (onShownChanged) {
                onShownChanged(shown);
            }
        });
    }
    return *m_window;
}

void ResultsWindowOwner::add(ResultRow row) {
    windowCreated().appendRow(std::move(row));
    if (!m_firstShown) {
        m_firstShown = true;
        showBesideMainWindow();
    }
}

void ResultsWindowOwner::showBesideMainWindow() {
    QScreen* screen = m_mainWindow->screen();
    if (screen == nullptr || !m_mainWindow->isVisible()) {
        return;
    }
    const QRect available = screen->availableGeometry();
    const QRect frame = m_mainWindow->frameGeometry();
    const QRect client = m_mainWindow->geometry();
    // The new window's frame is not known before it shows: take the main window's.
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                           frame.right() - client.right(), frame.bottom() - client.bottom());
    const std::optional<ScreenRect> place =
        placeBeside(ScreenRect{available.x(), available.y(), available.width(), available.height()},
                    ScreenRect{frame.x(), frame.y(), frame.width(), frame.height()}, kSizes);
    if (!place) {
        return;  // no room beside it: the menu shows it
    }
    ResultsWindow& window = windowCreated();
    const QRect outer(place->left, place->top, place->width, place->height);
    window.setGeometry(outer.marginsRemoved(margins));
    // The next press on the graph must still place the result text.
    window.setAttribute(Qt::WA_ShowWithoutActivating, true);
    window.show();
    window.setAttribute(Qt::WA_ShowWithoutActivating, false);
}

void ResultsWindowOwner::toggle() {
    ResultsWindow& window = windowCreated();
    if (window.isVisible()) {
        window.hide();
        return;
    }
    window.show();
    window.raise();
    window.activateWindow();
}

bool ResultsWindowOwner::shown() const {
    return !m_window.isNull() && m_window->isVisible();
}

}  // namespace mivaro
