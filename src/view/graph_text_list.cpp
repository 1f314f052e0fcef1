#include "view/graph_text_list.h"

namespace mivaro {

void GraphTextList::beginTextPlacement(const std::string& text) {
    m_slots[static_cast<std::size_t>(m_count)].text = text;
    m_pending = text;
    m_placing = true;
    if (m_cursorBuilder == nullptr) {
        return;
    }
    if (m_cursorBuilder->buildTextCursor(text)) {
        m_hasCursor = true;
    } else if (m_messages != nullptr) {
        m_messages->showMessage(kMaskFailureText, kApplicationTitle, MessageButtons::Ok);
    }
}

bool GraphTextList::leftPress(int x, int y) {
    if (!m_placing || m_count >= kMaxPlaced) {
        return false;
    }
    // The count may have moved since the text was prepared (Undo Text, or the
    // emptying at a new file set): the prepared text, not whatever line the
    // slot held before, is what gets placed.
    TextSlot& slot = m_slots[static_cast<std::size_t>(m_count)];
    slot.text = m_pending;
    slot.x = x;
    slot.y = y;
    ++m_count;
    return true;
}

bool GraphTextList::leftRelease() {
    if (!m_placing) {
        return false;
    }
    m_placing = false;
    return true;
}

bool GraphTextList::undoText() {
    if (m_count <= 0) {
        return false;
    }
    --m_count;
    return true;
}

}  // namespace mivaro
