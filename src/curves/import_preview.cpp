#include "curves/import_preview.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "curves/decimal_conversion.h"
#include "curves/line_reader.h"
#include "curves/settings_files.h"

namespace mivaro {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr int kCells = 19;  // cell table entries 1..19; entry 0 stays empty

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Every occurrence of `what`, left to right, in one pass over the text (the
// replacement is not searched again).
std::string replaceAll(std::string_view text, std::string_view what, std::string_view with) {
    if (what.empty()) {
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = text.find(what, pos);
        if (hit == std::string_view::npos) {
            break;
        }
        out.append(text.substr(pos, hit - pos));
        out.append(with);
        pos = hit + what.size();
    }
    out.append(text.substr(pos));
    return out;
}

std::string_view separatorText(const ImportDialogState& state) {
    switch (state.setup.separatorKind) {
        case 0:
            return ",";
        case 1:
            return "\t";
        case 2:
            return " ";
        case 3:
            return state.otherSeparatorText;
        default:
            return {};
    }
}

// The text from its last line feed on (an incomplete last line) is dropped.
void cutAtLastLineFeed(std::string& text) {
    const std::size_t last = text.rfind('\n');
    if (last != std::string::npos) {
        text.resize(last);
    }
}

// Letters other than 'e' anywhere but in the last character: not numbers.
bool looksNumeric(const std::string& column) {
    if (column.empty()) {
        return false;
    }
    for (std::size_t i = 0; i + 1 < column.size(); ++i) {
        if (isLetter(column[i]) && column[i] != 'e') {
            return false;
        }
    }
    return true;
}

std::string withLinePrefixes(const std::string& text, int headerLines) {
    if (text.empty()) {
        return text;
    }
    std::string out;
    out.reserve(text.size() + text.size() / 8 + 8);
    int line = 1;
    const auto prefix = [&] {
        if (line <= headerLines) {
            out += "H> ";
        } else {
            out += std::to_string(line);
            out += "> ";
        }
    };
    prefix();
    for (const char c : text) {
        out += c;
        if (c == '\n') {
            ++line;
            prefix();
        }
    }
    return out;
}

std::size_t count(std::string_view text, char c) {
    std::size_t n = 0;
    for (const char x : text) {
        n += x == c ? 1 : 0;
    }
    return n;
}

// The sample line of the guess: the line after the first CR LF at or after
// the middle of the text. When no line end follows the middle, the line that
// holds the middle is taken (a short sample of one or two lines).
std::string_view sampleLine(std::string_view text) {
    const std::size_t pair = text.find(kLineEnd, text.size() / 2);
    std::size_t begin = 0;
    if (pair != std::string_view::npos) {
        begin = pair + 2;
    } else {
        const std::size_t before = text.rfind(kLineEnd, text.size() / 2);
        begin = before == std::string_view::npos ? 0 : before + 2;
    }
    const std::size_t end = text.find('\r', begin);
    return text.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin);
}

}  // namespace

std::string normaliseLineEnds(std::string_view raw) {
    std::string out;
    out.reserve(raw.size() + raw.size() / 16 + 2);
    for (const char c : raw) {
        if (c == '\r' || c == '\n') {
            out += kLineEnd;
        } else {
            out += c;
        }
    }
    return out;
}

ImportPreview buildImportPreview(const ImportDialogState& state) {
    const ColumnSetup& setup = state.setup;
    std::string text = normaliseLineEnds(state.rawText);
    if (setup.decimalComma == 1) {
        for (char& c : text) {
            if (c == ',') {
                c = '.';
            }
        }
    }
    text = replaceAll(text, separatorText(state), kColumnMarker);

    ImportPreview preview;
    std::size_t start = 0;
    if (setup.headerLines > 0) {
        std::size_t pos = 0;
        int found = 0;
        while (found < setup.headerLines) {
            const std::size_t hit = text.find(kLineEnd, pos);
            if (hit == std::string::npos) {
                break;
            }
            pos = hit + 2;
            ++found;
        }
        if (found == setup.headerLines) {
            start = pos;
        }
    }

    const bool withTime = setup.timeColumnPresent == 1;
    const bool withSegment = setup.segmentColumnPresent == 1;
    // A column number outside the table, or beyond the cells of a line,
    // previews nothing for that line: a column no line has is flagged.
    const auto cellIndex = [](int column) { return column >= 1 && column <= kCells ? column : 0; };
    const int displacementCell = cellIndex(setup.displacementColumn);
    const int forceCell = cellIndex(setup.forceColumn);
    const int timeCell = cellIndex(setup.timeColumn);
    const int segmentCell = cellIndex(setup.segmentColumn);

    const std::string_view all(text);
    std::array<std::string, kCells + 1> cells;
    for (std::size_t lineStart = start;;) {
        const std::size_t lineEnd = all.find(kLineEnd, lineStart);
        if (lineEnd == std::string_view::npos) {
            break;
        }
        const std::string_view line = all.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 2;
        for (std::string& cell : cells) {
            cell.clear();
        }
        std::size_t pos = 0;
        for (int k = 1; k <= kCells; ++k) {
            const std::size_t marker = line.find('\x7f', pos);
            const std::string_view cell =
                line.substr(pos, marker == std::string_view::npos ? std::string_view::npos : marker - pos);
            cells[static_cast<std::size_t>(k)].append(cell).append(" \r\n");
            if (marker == std::string_view::npos) {
                break;
            }
            pos = marker + 1;
        }
        preview.displacement += cells[static_cast<std::size_t>(displacementCell)];
        preview.force += cells[static_cast<std::size_t>(forceCell)];
        if (withTime) {
            preview.time += cells[static_cast<std::size_t>(timeCell)];
        }
        if (withSegment) {
            preview.segment += cells[static_cast<std::size_t>(segmentCell)];
        }
    }

    cutAtLastLineFeed(text);
    cutAtLastLineFeed(preview.displacement);
    cutAtLastLineFeed(preview.force);
    cutAtLastLineFeed(preview.time);
    cutAtLastLineFeed(preview.segment);
    preview.text = withLinePrefixes(text, setup.headerLines);

    if (!looksNumeric(preview.displacement)) {
        preview.displacement = kFlaggedColumn;
    }
    if (!looksNumeric(preview.force)) {
        preview.force = kFlaggedColumn;
    }
    if (withTime && !looksNumeric(preview.time)) {
        preview.time = kFlaggedColumn;
    }
    if (withSegment && (preview.segment.empty() || preview.segment.find("LOAD") == std::string::npos)) {
        preview.segment = kFlaggedColumn;
    }
    return preview;
}

void guessImportSetup(ImportDialogState& state) {
    ColumnSetup& setup = state.setup;
    const std::string text = normaliseLineEnds(state.rawText);
    const std::string_view sample = sampleLine(text);

    const std::size_t periods = count(sample, '.');
    const std::size_t commas = count(sample, ',');
    const std::size_t tabs = count(sample, '\t');

    // With as many commas as tabs the kind stays, and so does its character.
    const std::string_view kept = separatorText(state);
    char separator = kept.empty() ? '\0' : kept.front();
    if (commas == 0 && tabs == 0) {
        setup.separatorKind = 2;
        separator = ' ';
    } else if (tabs < commas) {
        setup.separatorKind = 0;
        separator = ',';
    } else if (commas < tabs) {
        setup.separatorKind = 1;
        separator = '\t';
    }
    if (periods == 0) {
        setup.decimalComma = 1;
    }

    // Numeric columns: the first three columns of the sample whose digits,
    // 'e' and '.' make a number other than zero.
    std::array<int, 3> found{0, 0, 0};
    std::size_t assigned = 0;
    int column = 0;
    std::string token;
    constexpr std::size_t kWalked = 300;  // characters, the sample's end included
    const std::size_t walked = std::min(sample.size() + 1, kWalked);
    for (std::size_t i = 0; i < walked; ++i) {
        const bool atEnd = i == sample.size();
        const char c = atEnd ? '\0' : sample[i];
        if (atEnd || c == separator) {
            ++column;
            if (decimalValue(token) != 0 && assigned < found.size()) {
                found[assigned++] = column;
            }
            token.clear();
        } else if (isDigit(c) || c == 'e' || c == '.') {
            token += c;
        }
    }
    setup.displacementColumn = found[0];
    setup.forceColumn = found[1];
    setup.timeColumn = found[2];
    setup.segmentColumn = found[2] + 1;

    // Header lines: those above the first line with the sample's period count.
    int passed = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t end = text.find(kLineEnd, pos);
        const std::string_view line =
            std::string_view(text).substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        if (count(line, '.') == periods) {
            break;
        }
        ++passed;
        if (end == std::string::npos) {
            break;
        }
        pos = end + 2;
    }
    setup.headerLines = passed;

    // Units, first match in this order wins; "\xB5" is the micro sign of
    // Windows-1252 and also the second byte of its UTF-8 form.
    const auto has = [&text](std::string_view what) { return text.find(what) != std::string::npos; };
    if (has("\xB5N")) {
        setup.forceUnit = 0;
    } else if (has("mN")) {
        setup.forceUnit = 1;
    } else if (has("(N)")) {
        setup.forceUnit = 2;
    } else if (has("uN")) {
        setup.forceUnit = 0;
    }
    if (has("\xB5m")) {
        setup.depthUnit = 1;
    } else if (has("nm")) {
        setup.depthUnit = 0;
    } else if (has("(mm)")) {
        setup.depthUnit = 2;
    } else if (has("cm")) {
        setup.depthUnit = 3;
    } else if (has("um")) {
        setup.depthUnit = 1;
    }
    state.preview = buildImportPreview(state);
}

bool readPreviewText(const std::string& path, std::string& text, std::string& reason) {
    text.clear();
    // A CR LF pair shrinks to its line feed: twice the characters in bytes are enough.
    std::string block;
    if (!readFileStart(path, 2 * kPreviewCharacters + 1, block, reason)) {
        return false;
    }
    bool pendingCr = false;  // a CR at the end of what was read so far, its partner unknown
    for (std::size_t i = 0; i < block.size() && text.size() < kPreviewCharacters; ++i) {
        if (pendingCr) {
            pendingCr = false;
            if (block[i] != '\n') {
                text += '\r';  // a lone CR stays a character, as text mode leaves it
                if (text.size() == kPreviewCharacters) {
                    break;
                }
            }
        }
        if (block[i] == '\r') {
            pendingCr = true;
            continue;
        }
        text += block[i];
    }
    if (pendingCr && text.size() < kPreviewCharacters) {
        text += '\r';  // the file ends in a lone CR
    }
    return true;
}

bool loadImportSetup(const std::string& settingsDirectory, ImportDialogState& state) {
    return readOpenSetup(settingsDirectory, state.setup, &state.otherSeparatorText);
}

}  // namespace mivaro
