#pragma once

#include <QCursor>
#include <optional>

#include "view/graph_settings.h"
#include "view/graph_text_list.h"

namespace mivaro {

// Builds the cursor that shows a prepared text: the text drawn in RGB 1,1,1
// on black in the graph font, black made transparent, hot spot top-left.
class QtTextCursorBuilder final : public TextCursorBuilder {
  public:
    explicit QtTextCursorBuilder(const ViewSettings& settings) : m_settings(settings) {}

    bool buildTextCursor(const std::string& text) override;

    const std::optional<QCursor>& cursor() const { return m_cursor; }
    QSize imageSize() const { return m_imageSize; }

  private:
    const ViewSettings& m_settings;
    std::optional<QCursor> m_cursor;
    QSize m_imageSize;
};

}  // namespace mivaro
