#pragma once

#include <array>
#include <string>

#include "platform/message_port.h"

namespace mivaro {

// Makes the mouse cursor that shows a prepared text. Returns false when the
// cursor masks could not be made; the previous cursor then stays in use.
class TextCursorBuilder {
  public:
    virtual ~TextCursorBuilder() = default;
    virtual bool buildTextCursor(const std::string& text) = 0;
};

struct TextSlot {
    std::string text;
    int x = 0;
    int y = 0;
};

// Result lines placed on a graph: a text is prepared with beginTextPlacement
// and placed by the next left press. Slot count() holds the prepared text.
class GraphTextList {
  public:
    static constexpr int kSlotCount = 21;
    static constexpr int kMaxPlaced = 20;
    static constexpr const char* kMaskFailureText = "Cannot create And and Xor masks...!";
    static constexpr const char* kApplicationTitle = "Tavimo";

    // Optional collaborators; without a builder no cursor is made, without a
    // message port a mask failure goes unreported.
    void setCursorBuilder(TextCursorBuilder* builder) { m_cursorBuilder = builder; }
    void setMessagePort(MessagePort* messages) { m_messages = messages; }

    void beginTextPlacement(const std::string& text);

    // Left press: places the prepared text at (x, y). Returns true when a line
    // was placed (the caller repaints).
    bool leftPress(int x, int y);
    // Left release: returns true when it ended a placement; the release must
    // then do nothing else.
    bool leftRelease();
    // Right press abandons a prepared text.
    void rightPress() { m_placing = false; }
    // Undo Text: removes the last placed line. Returns true when one was removed.
    bool undoText();
    // All lines go (texts stay in their slots); placing is left as it is.
    void empty() { m_count = 0; }

    int count() const { return m_count; }
    bool placing() const { return m_placing; }
    bool hasTextCursor() const { return m_hasCursor; }
    // Whether the text cursor should be shown now.
    bool showsTextCursor() const { return m_placing && m_hasCursor; }
    const TextSlot& slot(int k) const { return m_slots.at(static_cast<std::size_t>(k)); }

  private:
    std::array<TextSlot, kSlotCount> m_slots;
    std::string m_pending;  // the prepared text, also kept in slot count
    int m_count = 0;
    bool m_placing = false;
    bool m_hasCursor = false;
    TextCursorBuilder* m_cursorBuilder = nullptr;
    MessagePort* m_messages = nullptr;
};

}  // namespace mivaro
