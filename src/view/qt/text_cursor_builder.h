#pragma once

#include <QCursor>
#include <QWidget>
#include <functional>
#include <optional>

#include "view/graph_settings.h"
#include "view/graph_text_list.h"

namespace mivaro {

// Builds the cursor that shows a prepared text: the text drawn in RGB 1,1,1
// on black in the graph font, black made transparent, hot spot top-left.
class QtTextCursorBuilder final : public TextCursorBuilder {
  public:
    // The main graph's font: its line height and bold flag.
    explicit QtTextCursorBuilder(const ViewSettings& settings);
    // Any graph's font, asked for each time a cursor is built.
    explicit QtTextCursorBuilder(std::function<FontChoice()> font) : m_font(std::move(font)) {}

    bool buildTextCursor(const std::string& text) override;

    const std::optional<QCursor>& cursor() const { return m_cursor; }
    QSize imageSize() const { return m_imageSize; }

    // Shows the text cursor on `widget` while `texts` places a text, the
    // ordinary pointer otherwise.
    void applyTo(QWidget& widget, const GraphTextList& texts) const {
        if (texts.showsTextCursor() && m_cursor.has_value()) {
            widget.setCursor(*m_cursor);
        } else {
            widget.unsetCursor();
        }
    }

  private:
    std::function<FontChoice()> m_font;
    std::optional<QCursor> m_cursor;
    QSize m_imageSize;
};

}  // namespace mivaro
