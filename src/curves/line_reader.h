#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace mivaro {

// Reads a text file line by line in large blocks. A line ends at a line feed,
// a carriage return, or a carriage return followed by a line feed (the pair is
// one line end); the end is not part of the line. Lines are returned whole,
// however long; a UTF-8 byte order mark at the start is skipped. The file is
// opened for reading only.
class LineReader {
  public:
    explicit LineReader(const std::string& path);
    // Reads a copy of bytes held in memory, as if they were the file.
    static LineReader fromBytes(std::string_view bytes);
    LineReader(LineReader&& other) noexcept;
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;
    LineReader& operator=(LineReader&&) = delete;

    bool isOpen() const { return m_file != nullptr || m_inMemory; }
    // True when reading failed (a directory opens but cannot be read, say).
    bool readError() const { return m_readError; }

    // Next line as a writable span into the reader's buffer, valid until the
    // next call. Returns false at end of file (or on a read error).
    bool nextLine(char*& begin, char*& end);

  private:
    LineReader() = default;
    bool fill();
    std::size_t findLineEnd();

    static constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);

    std::FILE* m_file = nullptr;
    std::unique_ptr<char[]> m_data;
    std::size_t m_capacity = 0;
    std::size_t m_begin = 0;  // first unread character
    std::size_t m_end = 0;    // one past the last character read from the file
    bool m_eof = false;
    bool m_inMemory = false;
    bool m_readError = false;
    bool m_startChecked = false;
    std::size_t m_nextLf = kUnknown;  // cached search results, see findLineEnd()
    std::size_t m_nextCr = kUnknown;
};

// Number of lines longer than 3 characters, header lines included; 0 when the
// file cannot be opened. Bounds the number of points the reader keeps.
int countDataLines(const std::string& path);
// The same count over lines still to come from a reader.
int countDataLines(LineReader& reader);

}  // namespace mivaro
