#include "curves/line_reader.h"

#include <climits>
#include <cstring>
#include <utility>

namespace mivaro {
namespace {

constexpr std::size_t kBlockSize = 1 << 20;

}  // namespace

LineReader::LineReader(const std::string& path) : m_file(std::fopen(path.c_str(), "rb")) {
    if (m_file != nullptr) {
        m_data.reset(new char[kBlockSize]);  // left uninitialised: only read parts are used
        m_capacity = kBlockSize;
    }
}

LineReader LineReader::fromBytes(std::string_view bytes) {
    LineReader reader;
    reader.m_capacity = bytes.size() + 1;
    reader.m_data.reset(new char[reader.m_capacity]);
    std::memcpy(reader.m_data.get(), bytes.data(), bytes.size());
    reader.m_end = bytes.size();
    reader.m_eof = true;
    reader.m_inMemory = true;
    return reader;
}

LineReader::LineReader(LineReader&& other) noexcept
    : m_file(std::exchange(other.m_file, nullptr)),
      m_data(std::move(other.m_data)),
      m_capacity(other.m_capacity),
      m_begin(other.m_begin),
      m_end(other.m_end),
      m_eof(other.m_eof),
      m_inMemory(other.m_inMemory),
      m_readError(other.m_readError),
      m_startChecked(other.m_startChecked),
      m_nextLf(other.m_nextLf),
      m_nextCr(other.m_nextCr) {}

LineReader::~LineReader() {
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
}

// Moves the unread tail to the front, grows the buffer when a single line
// fills it, and reads the next block. Returns false when nothing more came.
bool LineReader::fill() {
    if (m_eof || m_file == nullptr) {
        return false;
    }
    if (m_begin > 0) {
        std::memmove(m_data.get(), m_data.get() + m_begin, m_end - m_begin);
        m_end -= m_begin;
        m_begin = 0;
    }
    if (m_capacity - m_end < kBlockSize / 2) {
        std::unique_ptr<char[]> larger(new char[m_capacity * 2]);
        std::memcpy(larger.get(), m_data.get(), m_end);
        m_data = std::move(larger);
        m_capacity *= 2;
    }
    m_nextLf = m_nextCr = kUnknown;
    const std::size_t got = std::fread(m_data.get() + m_end, 1, m_capacity - m_end, m_file);
    m_end += got;
    if (got == 0) {
        m_eof = true;
        m_readError = std::ferror(m_file) != 0;
        return false;
    }
    return true;
}

// Position of the first '\n' or '\r' at or after m_begin, or m_end. The
// positions of the next of each are kept between calls, so that a file using
// only one kind of line end is not scanned again for the other on every line.
std::size_t LineReader::findLineEnd() {
    const char* data = m_data.get();
    const auto next = [&](std::size_t& cached, char c) {
        if (cached == kUnknown || cached < m_begin) {
            const void* hit = std::memchr(data + m_begin, c, m_end - m_begin);
            cached = hit != nullptr ? static_cast<std::size_t>(static_cast<const char*>(hit) - data) : m_end;
        }
        return cached;
    };
    const std::size_t lf = next(m_nextLf, '\n');
    const std::size_t cr = next(m_nextCr, '\r');
    return lf < cr ? lf : cr;
}

bool LineReader::nextLine(char*& begin, char*& end) {
    if (!m_startChecked) {
        // A UTF-8 byte order mark is not text of the first line (it would
        // hide the first number of a file without header lines).
        m_startChecked = true;
        while (m_end < 3 && fill()) {
        }
        if (m_end >= 3 && std::memcmp(m_data.get(), "\xEF\xBB\xBF", 3) == 0) {
            m_begin = 3;
        }
    }
    for (;;) {
        char* const data = m_data.get();
        const char* stop = data + findLineEnd();
        const bool complete = stop != data + m_end;
        // A carriage return at the end of the buffer may be the first half of a pair.
        const bool needNext = complete && *stop == '\r' && stop + 1 == data + m_end && !m_eof;
        if (complete && !needNext) {
            begin = data + m_begin;
            end = data + (stop - data);
            std::size_t next = static_cast<std::size_t>(stop - data) + 1;
            if (*stop == '\r' && next < m_end && data[next] == '\n') {
                ++next;
            }
            m_begin = next;
            return true;
        }
        if (!fill()) {
            if (m_begin == m_end) {
                return false;
            }
            if (needNext) {
                continue;  // m_eof is set now: the lone carriage return ends the line
            }
            // Last line without a line end.
            begin = m_data.get() + m_begin;
            end = m_data.get() + m_end;
            m_begin = m_end;
            return true;
        }
    }
}

int countDataLines(const std::string& path) {
    LineReader reader(path);
    if (!reader.isOpen()) {
        return 0;
    }
    return countDataLines(reader);
}

int countDataLines(LineReader& reader) {
    long long count = 0;
    char* begin = nullptr;
    char* end = nullptr;
    while (reader.nextLine(begin, end)) {
        if (end - begin > 3) {
            ++count;
        }
    }
    return count > INT_MAX ? INT_MAX : static_cast<int>(count);
}

}  // namespace mivaro
