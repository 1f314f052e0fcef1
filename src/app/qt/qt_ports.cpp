#include "app/qt/qt_ports.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QStringList>
#include <QUrl>

namespace mivaro {

namespace {

QString toQt(const std::string& text) {
    return QString::fromStdString(text);
}

QStringList nameFilters(const std::vector<FileFilter>& filters) {
    QStringList result;
    for (const FileFilter& filter : filters) {
        result << qtNameFilter(filter);
    }
    return result;
}

// QFileDialog wants "fls", not ".fls".
QString suffixOf(const std::string& defaultExtension) {
    QString suffix = toQt(defaultExtension);
    while (suffix.startsWith('.')) {
        suffix.remove(0, 1);
    }
    return suffix;
}

}  // namespace

QString qtNameFilter(const FileFilter& filter) {
    // The description already names the patterns ("... (*.MVR)"); Qt reads the
    // patterns from the last parentheses, so add them only when missing.
    QString text = toQt(filter.description);
    if (!text.contains('(')) {
        QStringList patterns;
        for (const std::string& pattern : filter.patterns) {
            patterns << toQt(pattern);
        }
        text += " (" + patterns.join(' ') + ")";
    }
    return text;
}

MessageAnswer QtMessagePort::showMessage(const std::string& text, const std::string& caption,
                                         MessageButtons buttons) {
    if (buttons == MessageButtons::YesNo) {
        const auto answer = QMessageBox::question(m_parent, toQt(caption), toQt(text),
                                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    // Failures ("Error") carry the critical icon; notices the information icon.
    if (caption == "Error") {
        QMessageBox::critical(m_parent, toQt(caption), toQt(text), QMessageBox::Ok);
    } else {
        QMessageBox::information(m_parent, toQt(caption), toQt(text), QMessageBox::Ok);
    }
    return MessageAnswer::Ok;
}

std::optional<std::vector<std::string>> QtFileDialogPort::chooseFilesToOpen(const OpenFileRequest& request) {
    QFileDialog dialog(m_parent, toQt(request.title));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog.setNameFilters(nameFilters(request.filters));
    dialog.setDefaultSuffix(suffixOf(request.defaultExtension));
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    std::vector<std::string> paths;
    for (const QString& path : dialog.selectedFiles()) {
        paths.push_back(QDir::toNativeSeparators(path).toStdString());
    }
    return paths;
}

std::optional<std::string> QtFileDialogPort::chooseFileToSave(const SaveFileRequest& request) {
    QFileDialog dialog(m_parent, toQt(request.title));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(nameFilters(request.filters));
    dialog.setDefaultSuffix(suffixOf(request.defaultExtension));
    // QFileDialog asks before overwriting unless told not to; say so anyway.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (!request.initialPath.empty()) {
        dialog.selectFile(toQt(request.initialPath));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst()).toStdString();
}

void QtShellPort::openFileWithDesktop(const std::string& program, const std::string& fileArgument) {
    QProcess::startDetached(toQt(program), {toQt(fileArgument)}, QDir::currentPath());
}

void QtShellPort::openUrl(const std::string& url) {
    QDesktopServices::openUrl(QUrl(toQt(url)));
}

}  // namespace mivaro
