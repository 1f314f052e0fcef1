#pragma once

// Segment letters from a Nano Indenter workbook's "Segment" column, which
// names a segment on the row where it starts.

#include <string>
#include <string_view>

namespace mivaro::recognise {

class WorkbookSegments {
  public:
    // The Segment cell of the next row (empty when the row starts nothing).
    void marker(std::string_view text);
    // The row held a point: it takes the letter of the segment open now.
    void point();

    // Every point carries a letter from a marker this reading knows; when not,
    // the caller takes the letters from the curve's shape instead.
    bool complete() const;
    const std::string& letters() const { return m_letters; }

  private:
    char m_current = 'X';
    bool m_unknown = false;
    bool m_unlettered = false;
    std::string m_letters;
};

}  // namespace mivaro::recognise
