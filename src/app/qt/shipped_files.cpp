#include "app/qt/shipped_files.h"

#include <QFile>

namespace mivaro {

const std::string& shippedHelpText() {
    static const std::string text = [] {
        QFile file(":/mivaro/HelpTavimo.rtf");
        if (!file.open(QIODevice::ReadOnly)) {
            return std::string();
        }
        return file.readAll().toStdString();
    }();
    return text;
}

}  // namespace mivaro
