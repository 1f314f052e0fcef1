#pragma once

#include <QWidget>

#include "view/text_line_dialog_port.h"

namespace mivaro {

// The "Text Line" dialog as a modal Qt dialog.
class QtTextLineDialog final : public TextLineDialogPort {
  public:
    explicit QtTextLineDialog(QWidget* parent) : m_parent(parent) {}
    bool askTextLine(std::string& text) override;

  private:
    QWidget* m_parent;
};

}  // namespace mivaro
