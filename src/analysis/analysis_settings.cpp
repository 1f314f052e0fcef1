#include "analysis/analysis_settings.h"

#include <vector>

#include "curves/settings_files.h"
#include "platform/c_format.h"

namespace mivaro {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The words of a settings file's text in order.
std::vector<std::string> wordsOf(const std::string& content) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < content.size()) {
        while (i < content.size() && isBlank(content[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < content.size() && !isBlank(content[i])) {
            ++i;
        }
        if (i > start) {
            words.push_back(content.substr(start, i - start));
        }
    }
    return words;
}

// Takes the values in file order; the first value that is missing or does not
// read as its type ends the reading, as a formatted read would.
class WordReader {
  public:
    explicit WordReader(std::vector<std::string> words) : m_words(std::move(words)) {}

    void text(std::string& value) {
        if (m_ok && m_next < m_words.size()) {
            value = m_words[m_next++];
        } else {
            m_ok = false;
        }
    }
    void integer(int& value) {
        int parsed = 0;
        if (m_ok && m_next < m_words.size() && scanCInt(m_words[m_next], parsed)) {
            value = parsed;
            ++m_next;
        } else {
            m_ok = false;
        }
    }
    void real(float& value) {
        double parsed = 0;
        if (m_ok && m_next < m_words.size() && scanCDouble(m_words[m_next], parsed)) {
            value = static_cast<float>(parsed);
            ++m_next;
        } else {
            m_ok = false;
        }
    }

  private:
    std::vector<std::string> m_words;
    std::size_t m_next = 0;
    bool m_ok = true;
};

std::string textLine(const std::string& text) {
    return settingsWord(text) + "\n";
}

}  // namespace

std::string settingsWord(const std::string& text) {
    std::size_t start = 0;
    while (start < text.size() && isBlank(text[start])) {
        ++start;
    }
    std::size_t end = start;
    while (end < text.size() && !isBlank(text[end])) {
        ++end;
    }
    return end > start ? text.substr(start, end - start) : std::string("0");
}

ModulusSettings readModulusSettings(const std::string& settingsDirectory) {
    std::string content;
    if (!readWholeFile(settingsDirectory + kModulusSettingsFile, content)) {
        content.clear();  // an absent or unreadable file: the defaults
    }
    return parseModulusSettings(content);
}

ModulusSettings parseModulusSettings(const std::string& content) {
    ModulusSettings s;
    WordReader r(wordsOf(content));
    r.text(s.Ei);
    r.text(s.Es);
    r.real(s.forceMaxPercent);
    r.real(s.forceMinPercent);
    r.text(s.Vi);
    r.text(s.Vs);
    r.text(s.C0);
    r.text(s.C1);
    r.text(s.Cf);
    r.integer(s.solveFor);
    r.text(s.epsilon);
    r.integer(s.zeroStartDepth);
    r.text(s.topPercent);
    r.text(s.bottomPercent);
    r.text(s.sectionSizePercent);
    return s;
}

HardnessSettings readHardnessSettings(const std::string& settingsDirectory) {
    std::string content;
    if (!readWholeFile(settingsDirectory + kHardnessSettingsFile, content)) {
        content.clear();
    }
    return parseHardnessSettings(content);
}

HardnessSettings parseHardnessSettings(const std::string& content) {
    HardnessSettings s;
    WordReader r(wordsOf(content));
    r.text(s.C0);
    r.text(s.C1);
    r.text(s.D0);
    r.text(s.D1);
    r.text(s.Cf);
    r.integer(s.formula);
    r.text(s.epsilon);
    r.integer(s.includeHoldTime);
    return s;
}

bool writeModulusSettings(const std::string& settingsDirectory, const ModulusSettings& s) {
    std::string content;
    content += textLine(s.Ei);
    content += textLine(s.Es);
    content += formatC("%f\n", static_cast<double>(s.forceMaxPercent));
    content += formatC("%f\n", static_cast<double>(s.forceMinPercent));
    content += textLine(s.Vi);
    content += textLine(s.Vs);
    content += textLine(s.C0);
    content += textLine(s.C1);
    content += textLine(s.Cf);
    content += formatC("%d\n", s.solveFor);
    content += textLine(s.epsilon);
    content += formatC("%d\n", s.zeroStartDepth);
    content += textLine(s.topPercent);
    content += textLine(s.bottomPercent);
    content += textLine(s.sectionSizePercent);
    return writeFileAtomically(settingsDirectory + kModulusSettingsFile, content);
}

bool writeHardnessSettings(const std::string& settingsDirectory, const HardnessSettings& s) {
    std::string content;
    content += textLine(s.C0);
    content += textLine(s.C1);
    content += textLine(s.D0);
    content += textLine(s.D1);
    content += textLine(s.Cf);
    content += formatC("%d\n", s.formula);
    content += textLine(s.epsilon);
    content += formatC("%d\n", s.includeHoldTime);
    return writeFileAtomically(settingsDirectory + kHardnessSettingsFile, content);
}

}  // namespace mivaro
