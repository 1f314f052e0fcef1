#pragma once

#include <QMainWindow>
#include <map>
#include <memory>
#include <string>

#include "app/app_dialogs.h"
#include "app/command_router.h"
#include "app/project_session.h"
#include "app/qt/qt_ports.h"
#include "app/recent_file_list.h"
#include "curves/import_preview.h"
#include "curves/mivaro_doc.h"

class QAction;
class QToolBar;

namespace mivaro {

class CMivaro4View;
class GraphPrinting;
class QtGraphDialogs;
class ModulusGraphWindowOwner;
class LockKeyIndicators;
class QtAppDialogs;
class QtImportSetupDialog;
class ResultsWindowOwner;

// The ports through which the window reaches the user and the desktop. Any
// left null gets the Qt implementation; tests put scripted fakes in.
struct FramePorts {
    MessagePort* messages = nullptr;
    FileDialogPort* fileDialogs = nullptr;
    ShellPort* shell = nullptr;
    AppDialogs* dialogs = nullptr;
    ImportSetupDialogPort* importSetup = nullptr;
};

// The main window: one document and one view for the whole run, the menu,
// accelerators, toolbar and status bar, and the routing of their commands.
class CMainFrame : public QMainWindow {
    Q_OBJECT

  public:
    // settingsDirectory: where the .par files and the help file live (ends with '/').
    CMainFrame(const std::string& settingsDirectory, RecentFileList& recentFiles, const FramePorts& ports,
               QWidget* parent = nullptr);
    ~CMainFrame() override;

    CMivaro4Doc& document() { return *m_doc; }
    CMivaro4View& view() { return *m_view; }
    ProjectSession& session() { return *m_session; }
    CommandRouter& router() { return m_router; }

    // The action of a command (menu item, accelerator, toolbar button), or
    // nullptr when the command has none.
    QAction* commandAction(int id) const;
    QToolBar* mainToolBar() const { return m_toolBar; }
    LockKeyIndicators* lockIndicators() const { return m_lockIndicators; }

    // Sends a command through the routing; false when nobody handles it.
    bool runCommand(int id);

    // Greys menu items and buttons whose command nobody handles; call after
    // handlers were added.
    void updateCommandStates();

    MessagePort& messages() { return *m_ports.messages; }
    FileDialogPort& fileDialogs() { return *m_ports.fileDialogs; }
    ShellPort& shell() { return *m_ports.shell; }
    AppDialogs& dialogs() { return *m_ports.dialogs; }
    // The program's printer, shared by Print and Print Setup.
    GraphPrinting& printing() { return *m_printing; }
    ImportSetupDialogPort& importSetup() { return *m_ports.importSetup; }
    // The "Results" window and its table of the session's analyses.
    ResultsWindowOwner& results() { return *m_results; }

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void createMenus();
    void createAccelerators();
    void createToolBar();
    void createStatusBar();
    void addDocumentAndViewHandlers();
    void addGraphOutputHandlers();
    void copyActiveWindow();
    void exportGraph();
    void connectResults();
    void showClickHint(const std::string& hint);
    QAction* actionFor(int id);

    std::string m_settingsDirectory;
    std::unique_ptr<QtMessagePort> m_qtMessages;
    std::unique_ptr<QtMessagePort> m_qtOwnerlessMessages;
    MessagePort* m_ownerlessMessages = nullptr;
    std::unique_ptr<QtFileDialogPort> m_qtFileDialogs;
    std::unique_ptr<QtShellPort> m_qtShell;
    std::unique_ptr<QtAppDialogs> m_qtDialogs;
    std::unique_ptr<QtImportSetupDialog> m_qtImportSetup;
    FramePorts m_ports;

    WidgetRepaintPort m_repaint;
    std::unique_ptr<CMivaro4Doc> m_doc;
    std::unique_ptr<ProjectSession> m_session;
    CMivaro4View* m_view = nullptr;
    std::unique_ptr<GraphPrinting> m_printing;
    // The "XY-Graph" window of the section analysis, with its own axis dialogs.
    // Its dialogs and message boxes become children of that window once it
    // exists, so they open over it instead of raising the main window.
    std::unique_ptr<QtGraphDialogs> m_modulusGraphDialogs;
    std::unique_ptr<QtMessagePort> m_qtModulusGraphMessages;
    std::unique_ptr<ModulusGraphWindowOwner> m_modulusGraph;
    std::unique_ptr<ResultsWindowOwner> m_results;

    CommandRouter m_router;
    std::map<int, QAction*> m_actions;
    QToolBar* m_toolBar = nullptr;
    LockKeyIndicators* m_lockIndicators = nullptr;
    // The prompt of the greyed menu item under the pointer, if any.
    QString m_disabledPrompt;
    // The click hint the message pane shows, if it shows one.
    QString m_clickHint;
};

}  // namespace mivaro
