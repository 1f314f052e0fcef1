#include "curves/curve_reader.h"

#include <cstring>
#include <string>
#include <string_view>

#include "curves/assign_segments.h"
#include "curves/decimal_conversion.h"
#include "curves/line_reader.h"
#include "curves/settings_files.h"

namespace mivaro {
namespace {

char separatorOf(const ColumnSetup& setup) {
    switch (setup.separatorKind) {
        case 1:
            return '\t';
        case 2:
            return ' ';
        case 3:
            return setup.otherSeparator;
        default:
            // Settings files with a kind outside 0..3 are refused when read,
            // so this is kind 0.
            return ',';
    }
}

double depthFactorOf(int unit) {
    switch (unit) {
        case 0:
            return 1;
        case 2:
            return 1000000;
        case 3:
            return 10000000;
        default:
            return 1000;
    }
}

double forceFactorOf(int unit) {
    switch (unit) {
        case 0:
            return 0.001;
        case 2:
            return 1000;
        default:
            return 1;
    }
}

// Finds column starts of one line: column c (1-based; 1 or less is the line
// start) begins one past the (c-1)-th separator. Starts found for one column
// are kept for the next, so a line is scanned once whatever the column order.
class ColumnLocator {
  public:
    ColumnLocator(char* begin, char* end, char separator) : m_end(end), m_separator(separator) {
        m_starts[0] = begin;
    }

    // Start of the column, or nullptr when the line has too few separators.
    char* locate(int column) {
        const int wanted = column <= 1 ? 0 : column - 1;  // separators to pass
        while (m_known < wanted) {
            if (m_known + 1 >= kKept) {
                return scanFrom(m_starts[m_known], wanted - m_known);
            }
            char* p = m_starts[m_known];
            void* hit = std::memchr(p, m_separator, static_cast<std::size_t>(m_end - p));
            if (hit == nullptr) {
                return nullptr;
            }
            m_starts[++m_known] = static_cast<char*>(hit) + 1;
        }
        return m_starts[wanted];
    }

  private:
    static constexpr int kKept = 16;

    char* scanFrom(char* p, int separators) const {
        for (int k = 0; k < separators; ++k) {
            void* hit = std::memchr(p, m_separator, static_cast<std::size_t>(m_end - p));
            if (hit == nullptr) {
                return nullptr;
            }
            p = static_cast<char*>(hit) + 1;
        }
        return p;
    }

    char* m_starts[kKept];
    int m_known = 0;  // separators located so far
    char* m_end;
    char m_separator;
};

// Letter of a label that is the whole rest of the line (already upper case),
// or 0 when it is no label. "BUTTOM_HOLD" is how our own writer spells the
// bottom hold, so it is read as one too.
char letterOfLabel(std::string_view label) {
    switch (label.size()) {
        case 4:
            return label == "LOAD" ? LOAD : 0;
        case 6:
            return label == "UNLOAD" ? UNLOAD : label == "RELOAD" ? RELOAD : 0;
        case 8:
            return label == "TOP_HOLD" ? TOP_HOLD : 0;
        case 11:
            return label == "BOTTOM_HOLD" || label == "BUTTOM_HOLD" ? BOTTOM_HOLD : 0;
        default:
            return 0;
    }
}

void toUpperAscii(char* begin, char* end) {
    for (char* p = begin; p != end; ++p) {
        if (*p >= 'a' && *p <= 'z') {
            *p = static_cast<char>(*p - 'a' + 'A');
        }
    }
}

void replaceCommas(char* begin, char* end) {
    for (char* p = begin; p != end; ++p) {
        if (*p == ',') {
            *p = '.';
        }
    }
}

void resetPoints(IndentCurve& curve) {
    curve.depth.clear();
    curve.force.clear();
    curve.time.clear();
    curve.segment.clear();
}

}  // namespace

bool isStandardCurvePath(const std::string& path) {
    return path.find(".MVR") != std::string::npos;
}

namespace {

// Reads the lines of one curve with the setup the IndentCurve holds; source
// names the file in a column error's message (none for bytes in memory).
ReadOutcome readCurveLines(IndentCurve& curve, LineReader& reader, MessagePort& messages, int lineCount,
                           const std::string& source) {
    curve.depth.reserve(static_cast<std::size_t>(lineCount));
    curve.force.reserve(static_cast<std::size_t>(lineCount));
    curve.time.reserve(static_cast<std::size_t>(lineCount));
    curve.segment.reserve(static_cast<std::size_t>(lineCount));

    const ColumnSetup& setup = curve.columnSetup;
    const char separator = separatorOf(setup);
    const double depthFactor = depthFactorOf(setup.depthUnit);
    const double forceFactor = forceFactorOf(setup.forceUnit);
    const bool decimalComma = setup.decimalComma == 1;
    const bool hasTime = setup.timeColumnPresent == 1;
    const bool hasSegment = setup.segmentColumnPresent == 1;

    char* begin = nullptr;
    char* end = nullptr;
    int lineNumber = 0;  // of the line read last, counted from 1
    for (int k = 0; k < setup.headerLines; ++k) {
        if (!reader.nextLine(begin, end)) {
            break;
        }
        ++lineNumber;
    }

    // The user learns which file and which line to look at; the callers
    // leave this file out and go on with the others.
    const auto columnError = [&](const char* text) {
        std::string where = text;
        if (!source.empty()) {
            where += "\n" + source;
        }
        where += "\nline " + std::to_string(lineNumber);
        messages.showMessage(where, "Error", MessageButtons::Ok);
        curve.currentFilePath.clear();
        resetPoints(curve);
        return ReadOutcome::ColumnError;
    };

    char running = NO_SEGMENT;
    while (reader.nextLine(begin, end)) {
        ++lineNumber;
        if (end - begin <= 3) {
            continue;
        }
        if (decimalComma) {
            replaceCommas(begin, end);
        }
        ColumnLocator columns(begin, end, separator);
        const char* column = columns.locate(setup.displacementColumn);
        if (column == nullptr) {
            return columnError(kDisplacementColumnError);
        }
        double depth = 0;
        scanDecimal(column, end, depth);
        depth *= depthFactor;

        column = columns.locate(setup.forceColumn);
        if (column == nullptr) {
            return columnError(kForceColumnError);
        }
        double force = 0;
        scanDecimal(column, end, force);
        force *= forceFactor;

        double time = 0;
        if (hasTime) {
            column = columns.locate(setup.timeColumn);
            if (column == nullptr) {
                return columnError(kTimeColumnError);
            }
            scanDecimal(column, end, time);
        }
        if (hasSegment) {
            char* label = columns.locate(setup.segmentColumn);
            if (label == nullptr) {
                return columnError(kSegmentColumnError);
            }
            toUpperAscii(label, end);
            // The label is the whole rest of the line: one passed over in part matches nothing.
            const char letter =
                reader.lastLineCut()
                    ? 0
                    : letterOfLabel(std::string_view(label, static_cast<std::size_t>(end - label)));
            if (letter != 0) {
                running = letter;
            }
        }
        // Only rows below the surface are points (the comparison also drops NaN).
        if (depth > 0) {
            curve.depth.push_back(depth);
            curve.force.push_back(force);
            curve.time.push_back(time);
            curve.segment.push_back(running);
        }
    }

    if (reader.readError()) {
        resetPoints(curve);
        return ReadOutcome::NotOpened;  // could not be read, as good as not opened
    }

    const auto n = curve.segment.size();
    const bool unlabelled =
        n >= 3 ? curve.segment[2] == NO_SEGMENT
               : n > 0 && std::string_view(curve.segment.data(), n).find_first_not_of(NO_SEGMENT) ==
                              std::string_view::npos;
    if (unlabelled) {
        AssignSegments(curve);
    }
    return ReadOutcome::Read;
}

}  // namespace

ReadOutcome readCurveFile(IndentCurve& curve, const std::string& path, MessagePort& messages, int dataLines,
                          std::string* whyNotRead) {
    resetPoints(curve);
    const int lineCount = dataLines >= 0 ? dataLines : countDataLines(path);

    if (isStandardCurvePath(path)) {
        curve.columnSetup = kStandardColumnSetup;
    } else {
        readOpenSetup(curve.settingsDirectory, curve.columnSetup);
    }
    readForceInstability(curve.settingsDirectory, curve.forceInstability);

    LineReader reader(path);
    const ReadOutcome outcome =
        reader.isOpen() ? readCurveLines(curve, reader, messages, lineCount, path) : ReadOutcome::NotOpened;
    if (outcome == ReadOutcome::Read) {
        curve.currentFilePath = path;
    } else if (outcome == ReadOutcome::NotOpened && whyNotRead != nullptr) {
        *whyNotRead = reader.failure().empty() ? "it could not be read" : reader.failure();
    }
    return outcome;
}

ReadOutcome readCurveBytes(IndentCurve& curve, std::string_view bytes, MessagePort& messages) {
    resetPoints(curve);
    LineReader counter = LineReader::fromBytes(bytes);
    const int lineCount = countDataLines(counter);
    LineReader reader = LineReader::fromBytes(bytes);
    return readCurveLines(curve, reader, messages, lineCount, {});
}

}  // namespace mivaro
