#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace mivaro {

// Reads a text file line by line in large blocks. A line ends at a line feed,
// a carriage return, or a carriage return followed by a line feed (the pair is
// one line end); the end is not part of the line. Lines are returned whole up
// to kMaxLineLength characters; of a longer line only that start is returned
// and the rest is passed over without being held, so memory stays bounded
// whatever the file. A UTF-8 byte order mark at the start is skipped.
//
// The file is opened for reading only and never blocks on a FIFO that no
// program writes to. A pipe, FIFO or device can be read only once: the first
// reader of such a path in this process reads it whole (up to kStreamLimit
// bytes) and later readers of the same path get the same bytes.
class LineReader {
  public:
    static constexpr std::size_t kMaxLineLength = std::size_t{1} << 20;
    static constexpr std::size_t kStreamLimit = std::size_t{128} << 20;

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
    // Why the file could not be opened or read, in a few words.
    const std::string& failure() const { return m_failure; }
    // True when the line last returned was longer than kMaxLineLength.
    bool lastLineCut() const { return m_lastLineCut; }

    // Next line as a writable span into the reader's buffer, valid until the
    // next call. Returns false at end of file (or on a read error).
    bool nextLine(char*& begin, char*& end);

  private:
    LineReader() = default;
    bool fill();
    std::size_t findLineEnd();
    void skipRestOfCutLine();
    void holdInMemory(const std::string& bytes);

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
    bool m_inCutLine = false;  // the rest of a cut line is still to be passed over
    bool m_lastLineCut = false;
    std::string m_failure;
    std::size_t m_nextLf = kUnknown;  // cached search results, see findLineEnd()
    std::size_t m_nextCr = kUnknown;
};

// Opens path as LineReader does. A regular file comes back open in `file` (the
// caller closes it); a pipe, FIFO or device as the held copy of all its bytes,
// shared with every other reader of that path. False with why in `reason` when
// it cannot be opened or read.
bool openSharedInput(const std::string& path, std::FILE*& file, std::shared_ptr<const std::string>& held,
                     std::string& reason);

// The first `limit` bytes of a file, opened as LineReader opens it (a pipe,
// FIFO or device through the same held copy). False with why in `reason`
// when it cannot be opened or read.
bool readFileStart(const std::string& path, std::size_t limit, std::string& bytes, std::string& reason);

// Number of lines longer than 3 characters, header lines included; 0 when the
// file cannot be opened, and for a pipe or device not read yet. Bounds the
// number of points the reader keeps from a regular file.
int countDataLines(const std::string& path);
// The same count over lines still to come from a reader.
int countDataLines(LineReader& reader);

}  // namespace mivaro
