#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

#include "platform/file_dialog_port.h"
#include "platform/message_port.h"
#include "platform/repaint_port.h"
#include "platform/shell_port.h"

namespace mivaro {

// Message boxes owned by a window (or by none, for the download question).
class QtMessagePort final : public MessagePort {
  public:
    explicit QtMessagePort(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    MessageAnswer showMessage(const std::string& text, const std::string& caption,
                              MessageButtons buttons) override;

  private:
    QPointer<QWidget> m_parent;
};

class QtFileDialogPort final : public FileDialogPort {
  public:
    explicit QtFileDialogPort(QWidget* parent = nullptr) : m_parent(parent) {}
    std::optional<std::vector<std::string>> chooseFilesToOpen(const OpenFileRequest& request) override;
    std::optional<std::string> chooseFileToSave(const SaveFileRequest& request) override;

  private:
    QPointer<QWidget> m_parent;
};

// Starts programs detached in the working directory; opens web addresses in
// the desktop's browser. Failures are not reported (nobody would be told
// either when the desktop lacks an editor).
class QtShellPort final : public ShellPort {
  public:
    void openFileWithDesktop(const std::string& program, const std::string& fileArgument) override;
    void openUrl(const std::string& url) override;
};

// Repaints whichever widget shows the document (set once the view exists).
class WidgetRepaintPort final : public RepaintPort {
  public:
    void setTarget(std::function<void()> repaint) { m_repaint = std::move(repaint); }
    void requestRepaint(bool) override {
        if (m_repaint) {
            m_repaint();
        }
    }

  private:
    std::function<void()> m_repaint;
};

// "Tavimo Files (*.fls)" + {"*.fls"} -> "Tavimo Files (*.fls)" as a Qt name filter.
QString qtNameFilter(const FileFilter& filter);

}  // namespace mivaro
