#include "curves/settings_files.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <system_error>

#include "curves/decimal_conversion.h"
#include "platform/c_format.h"
#include "platform/safe_file_write.h"

namespace mivaro {
namespace {

bool isCSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

// Reads values the way "%d" and "%s" of scanf do, in the C locale.
class ValueScanner {
  public:
    explicit ValueScanner(const std::string& text) : m_p(text.data()), m_end(text.data() + text.size()) {}

    bool readInt(int& value) {
        skipSpace();
        const char* start = m_p;
        if (m_p != m_end && *m_p == '+') {
            ++start;  // from_chars takes '-' but not '+'
            if (start != m_end && *start == '-') {
                return false;
            }
        }
        const auto result = std::from_chars(start, m_end, value);
        if (result.ec != std::errc()) {
            return false;
        }
        m_p = result.ptr;
        return true;
    }

    // The word on the rest of the current line or, when that is empty, on the
    // next line; a blank next line gives an empty word and is consumed.
    void readWordOfNextLine(std::string& word) {
        skipBlanks();
        if (m_p != m_end && (*m_p == '\n' || *m_p == '\r')) {
            skipLineEnd();
            skipBlanks();
            if (m_p == m_end || *m_p == '\n' || *m_p == '\r') {
                word.clear();
                skipLineEnd();
                return;
            }
        }
        const char* start = m_p;
        while (m_p != m_end && !isCSpace(*m_p)) {
            ++m_p;
        }
        word.assign(start, m_p);
    }

  private:
    void skipSpace() {
        while (m_p != m_end && isCSpace(*m_p)) {
            ++m_p;
        }
    }
    void skipBlanks() {
        while (m_p != m_end && isBlank(*m_p)) {
            ++m_p;
        }
    }
    void skipLineEnd() {
        if (m_p != m_end && *m_p == '\r') {
            ++m_p;
        }
        if (m_p != m_end && *m_p == '\n') {
            ++m_p;
        }
    }

    const char* m_p;
    const char* m_end;
};

std::string withSlash(const std::string& directory) {
    if (directory.empty() || directory.back() == '/') {
        return directory;
    }
    return directory + "/";
}

}  // namespace

bool parseOpenSetup(const std::string& text, ColumnSetup& setup, std::string* otherSeparatorText) {
    ValueScanner scanner(text);
    ColumnSetup read;
    std::string separatorText;
    const bool ok = scanner.readInt(read.headerLines) && scanner.readInt(read.displacementColumn) &&
                    scanner.readInt(read.forceColumn) && scanner.readInt(read.decimalComma) &&
                    scanner.readInt(read.depthUnit) && scanner.readInt(read.forceUnit) &&
                    scanner.readInt(read.separatorKind);
    if (!ok || read.separatorKind < 0 || read.separatorKind > 3) {
        return false;
    }
    scanner.readWordOfNextLine(separatorText);
    read.otherSeparator = separatorText.empty() ? ' ' : separatorText.front();
    if (!(scanner.readInt(read.segmentColumnPresent) && scanner.readInt(read.timeColumnPresent) &&
          scanner.readInt(read.segmentColumn) && scanner.readInt(read.timeColumn))) {
        return false;
    }
    setup = read;
    if (otherSeparatorText != nullptr) {
        *otherSeparatorText = separatorText;
    }
    return true;
}

bool readOpenSetup(const std::string& settingsDirectory, ColumnSetup& setup,
                   std::string* otherSeparatorText) {
    std::string text;
    if (!readWholeFile(withSlash(settingsDirectory) + kOpenSetupFileName, text)) {
        return false;
    }
    return parseOpenSetup(text, setup, otherSeparatorText);
}

bool writeOpenSetup(const std::string& settingsDirectory, const ColumnSetup& setup,
                    const std::string& otherSeparatorText) {
    // The reader skips white space before line 8, so the word starts at the
    // text's first visible character, and a word with white space inside
    // would read back as two values.
    std::size_t start = 0;
    while (start < otherSeparatorText.size() && isCSpace(otherSeparatorText[start])) {
        ++start;
    }
    std::size_t cut = start;
    while (cut < otherSeparatorText.size() && !isCSpace(otherSeparatorText[cut])) {
        ++cut;
    }
    std::string separator = otherSeparatorText.substr(start, cut - start);
    if (separator.empty()) {
        const char c = setup.otherSeparator;
        separator = (c > ' ' && c < 127) ? std::string(1, c) : std::string("_");
    }
    std::string text;
    for (const int value : {setup.headerLines, setup.displacementColumn, setup.forceColumn,
                            setup.decimalComma, setup.depthUnit, setup.forceUnit, setup.separatorKind}) {
        text += formatC("%d\n", value);
    }
    text += separator + "\n";
    for (const int value :
         {setup.segmentColumnPresent, setup.timeColumnPresent, setup.segmentColumn, setup.timeColumn}) {
        text += formatC("%d\n", value);
    }
    return writeFileAtomically(withSlash(settingsDirectory) + kOpenSetupFileName, text);
}

bool readForceInstability(const std::string& settingsDirectory, float& value) {
    std::string text;
    if (!readWholeFile(withSlash(settingsDirectory) + kMachineSetupFileName, text)) {
        return false;
    }
    return parseForceInstability(text, value);
}

bool parseForceInstability(const std::string& text, float& value) {
    double read = 0;
    if (scanDecimal(text.data(), text.data() + text.size(), read) == 0) {
        return false;
    }
    const float single = static_cast<float>(read);
    if (!std::isfinite(single)) {
        return false;
    }
    value = single;
    return true;
}

bool writeForceInstability(const std::string& settingsDirectory, float value) {
    return writeFileAtomically(withSlash(settingsDirectory) + kMachineSetupFileName,
                               formatC("%f\n", static_cast<double>(value)));
}

}  // namespace mivaro
