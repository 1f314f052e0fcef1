#include "curves/line_reader.h"

#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "platform/input_file.h"

namespace mivaro {
namespace {

constexpr std::size_t kBlockSize = 1 << 20;

// What pipes, FIFOs and devices gave, by path: the line count and the reading
// of one file each open it, and the second open would find nothing (or block).
class HeldInputs {
  public:
    std::shared_ptr<const std::string> find(const std::string& path) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        const auto found = m_held.find(path);
        return found == m_held.end() ? nullptr : found->second;
    }
    std::shared_ptr<const std::string> hold(const std::string& path, std::string bytes) {
        auto held = std::make_shared<const std::string>(std::move(bytes));
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_held.emplace(path, std::move(held)).first->second;
    }

  private:
    std::mutex m_mutex;
    std::map<std::string, std::shared_ptr<const std::string>> m_held;
};

HeldInputs& heldInputs() {
    static HeldInputs held;
    return held;
}

}  // namespace

LineReader::LineReader(const std::string& path) {
    std::shared_ptr<const std::string> held = heldInputs().find(path);
    if (held == nullptr) {
        InputFile input = openInputFile(path, kStreamLimit, m_failure);
        if (!input.opened) {
            return;
        }
        if (input.file != nullptr) {
            m_file = input.file;
            m_data.reset(new char[kBlockSize]);  // left uninitialised: only read parts are used
            m_capacity = kBlockSize;
            return;
        }
        held = heldInputs().hold(path, std::move(input.bytes));
    }
    holdInMemory(*held);
}

LineReader LineReader::fromBytes(std::string_view bytes) {
    LineReader reader;
    reader.holdInMemory(std::string(bytes));
    return reader;
}

void LineReader::holdInMemory(const std::string& bytes) {
    m_capacity = bytes.size() + 1;
    m_data.reset(new char[m_capacity]);
    std::memcpy(m_data.get(), bytes.data(), bytes.size());
    m_end = bytes.size();
    m_eof = true;
    m_inMemory = true;
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
      m_inCutLine(other.m_inCutLine),
      m_lastLineCut(other.m_lastLineCut),
      m_failure(std::move(other.m_failure)),
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
        if (m_readError) {
            m_failure = std::strerror(errno);
        }
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

// Passes over the rest of a cut line and its line end, a block at a time.
void LineReader::skipRestOfCutLine() {
    m_inCutLine = false;
    std::size_t stop = findLineEnd();
    while (stop == m_end) {
        m_begin = m_end;
        if (!fill()) {
            return;
        }
        stop = findLineEnd();
    }
    m_begin = stop + 1;
    if (m_data[stop] == '\r') {
        if (m_begin == m_end && fill()) {
            m_begin = 0;  // fill moved the (empty) tail to the front
        }
        if (m_begin < m_end && m_data[m_begin] == '\n') {
            ++m_begin;
        }
    }
}

bool LineReader::nextLine(char*& begin, char*& end) {
    if (m_inCutLine) {
        skipRestOfCutLine();
    }
    m_lastLineCut = false;
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
        const std::size_t length = static_cast<std::size_t>(complete ? stop - data : m_end) - m_begin;
        if (length > kMaxLineLength) {
            begin = data + m_begin;
            end = begin + kMaxLineLength;
            m_begin += kMaxLineLength;
            m_inCutLine = true;
            m_lastLineCut = true;
            return true;
        }
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

bool openSharedInput(const std::string& path, std::FILE*& file, std::shared_ptr<const std::string>& held,
                     std::string& reason) {
    file = nullptr;
    held = heldInputs().find(path);
    if (held != nullptr) {
        return true;
    }
    InputFile input = openInputFile(path, LineReader::kStreamLimit, reason);
    if (!input.opened) {
        return false;
    }
    if (input.file != nullptr) {
        file = input.file;
        return true;
    }
    held = heldInputs().hold(path, std::move(input.bytes));
    return true;
}

bool readFileStart(const std::string& path, std::size_t limit, std::string& bytes, std::string& reason) {
    bytes.clear();
    std::FILE* file = nullptr;
    std::shared_ptr<const std::string> held;
    if (!openSharedInput(path, file, held, reason)) {
        return false;
    }
    if (file != nullptr) {
        bytes.resize(limit);
        bytes.resize(std::fread(bytes.data(), 1, limit, file));
        const bool failed = std::ferror(file) != 0;
        if (failed) {
            reason = std::strerror(errno);
        }
        std::fclose(file);
        return !failed;
    }
    bytes.assign(*held, 0, limit);
    return true;
}

int countDataLines(const std::string& path) {
    // A pipe or device is counted once it has been read: reading it here
    // would take it whole only to size arrays that grow anyway.
    struct stat info {};
    if (heldInputs().find(path) == nullptr && (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))) {
        return 0;
    }
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
