#pragma once

#include <QPointer>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "app/results_table.h"
#include "platform/file_dialog_port.h"
#include "platform/message_port.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;

namespace mivaro {

class CMivaro4Doc;
class ResultsTableModel;
class ResultsSortModel;

// The modeless "Results" window: the rows of the analyses of the session, a
// copy of the selected rows as tab-separated text (Ctrl+C), "Save CSV...",
// "Clear" and "Analyse all curves", which runs on a worker thread while the
// window stays live.
class ResultsWindow final : public QWidget {
    Q_OBJECT

  public:
    // owner: the main window, which the window stays above.
    ResultsWindow(ResultsTable& table, CMivaro4Doc& doc, MessagePort& messages, FileDialogPort& fileDialogs,
                  QWidget* owner);
    ~ResultsWindow() override;

    // Adds the row to the table and shows it (newest last).
    void appendRow(ResultRow row);

    void copyRows();  // the selected rows, all when none are selected
    void saveCsv();
    void clearRows();  // after a Yes/No question
    void analyseAllCurves();
    void cancelAnalysis();
    bool analysing() const { return m_worker.joinable(); }

    QTableView* tableView() const { return m_view; }
    ResultsSortModel* sortModel() const { return m_sort; }
    QPushButton* analyseButton() const { return m_analyse; }
    QPushButton* cancelButton() const { return m_cancelButton; }
    QProgressBar* progressBar() const { return m_progress; }

  signals:
    void shownChanged(bool shown);
    // An "Analyse all curves" run has ended (completed or cancelled).
    void analysisFinished();

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void addRowFromWorker(const ResultRow& row, std::size_t done);
    void finishAnalysis();
    void setBusy(bool busy, int total);

    ResultsTable& m_table;
    CMivaro4Doc& m_doc;
    MessagePort& m_messages;
    FileDialogPort& m_fileDialogs;
    ResultsTableModel* m_model = nullptr;
    ResultsSortModel* m_sort = nullptr;
    QTableView* m_view = nullptr;
    QPushButton* m_analyse = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_clear = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;
    std::thread m_worker;
    std::atomic<bool> m_cancel{false};
};

// The main window's results: the table lives as long as the frame, its window
// is made on first use and from then on only hidden and shown.
class ResultsWindowOwner {
  public:
    ResultsWindowOwner(QWidget* mainWindow, CMivaro4Doc& doc, MessagePort& messages,
                       FileDialogPort& fileDialogs);
    ~ResultsWindowOwner();

    // Takes the row of a completed analysis. The first of the session shows
    // the window beside the main window, without the focus, where the screen
    // has room for it.
    void add(ResultRow row);

    // Shows or hides the window (the "&View" menu's "Results").
    void toggle();
    bool shown() const;

    const ResultsTable& table() const { return m_table; }
    // Null until first used.
    ResultsWindow* window() const { return m_window.data(); }
    ResultsWindow& windowCreated();

    // Called whenever the window is shown or hidden.
    std::function<void(bool shown)> onShownChanged;

  private:
    void showBesideMainWindow();

    QWidget* m_mainWindow;
    CMivaro4Doc& m_doc;
    MessagePort& m_messages;
    FileDialogPort& m_fileDialogs;
    ResultsTable m_table;
    QPointer<ResultsWindow> m_window;
    bool m_firstShown = false;
};

}  // namespace mivaro
