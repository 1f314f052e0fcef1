#include "curves/curve_reader.h"

#include <cstring>
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

// Start of column `column` (1-based; 1 or less is the line start), or nullptr
// when the line has too few separators.
char* locateColumn(char* begin, char* end, int column, char separator) {
    char* p = begin;
    for (int k = 1; k < column; ++k) {
        void* hit = std::memchr(p, separator, static_cast<std::size_t>(end - p));
        if (hit == nullptr) {
            return nullptr;
        }
        p = static_cast<char*>(hit) + 1;
    }
    return p;
}

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

ReadOutcome readCurveFile(IndentCurve& curve, const std::string& path, MessagePort& messages) {
    resetPoints(curve);
    const int lineCount = countDataLines(path);

    if (isStandardCurvePath(path)) {
        curve.columnSetup = kStandardColumnSetup;
    } else {
        readOpenSetup(curve.settingsDirectory, curve.columnSetup);
    }
    readForceInstability(curve.settingsDirectory, curve.forceInstability);

    LineReader reader(path);
    if (!reader.isOpen()) {
        return ReadOutcome::NotOpened;
    }
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
    for (int k = 0; k < setup.headerLines; ++k) {
        if (!reader.nextLine(begin, end)) {
            break;
        }
    }

    const auto columnError = [&](const char* text) {
        messages.showMessage(text, "Error", MessageButtons::Ok);
        curve.currentFilePath.clear();
        resetPoints(curve);
        curve.names.clear();
        return ReadOutcome::ColumnError;
    };

    char running = NO_SEGMENT;
    while (reader.nextLine(begin, end)) {
        if (end - begin <= 3) {
            continue;
        }
        if (decimalComma) {
            replaceCommas(begin, end);
        }
        const char* column = locateColumn(begin, end, setup.displacementColumn, separator);
        if (column == nullptr) {
            return columnError(kDisplacementColumnError);
        }
        double depth = 0;
        scanDecimal(column, end, depth);
        depth *= depthFactor;

        column = locateColumn(begin, end, setup.forceColumn, separator);
        if (column == nullptr) {
            return columnError(kForceColumnError);
        }
        double force = 0;
        scanDecimal(column, end, force);
        force *= forceFactor;

        double time = 0;
        if (hasTime) {
            column = locateColumn(begin, end, setup.timeColumn, separator);
            if (column == nullptr) {
                return columnError(kTimeColumnError);
            }
            scanDecimal(column, end, time);
        }
        if (hasSegment) {
            char* label = locateColumn(begin, end, setup.segmentColumn, separator);
            if (label == nullptr) {
                return columnError(kSegmentColumnError);
            }
            toUpperAscii(label, end);
            const char letter = letterOfLabel(std::string_view(label, static_cast<std::size_t>(end - label)));
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

    const auto n = curve.segment.size();
    const bool unlabelled =
        n >= 3 ? curve.segment[2] == NO_SEGMENT
               : n > 0 && std::string_view(curve.segment.data(), n).find_first_not_of(NO_SEGMENT) ==
                              std::string_view::npos;
    if (unlabelled) {
        AssignSegments(curve);
    }
    curve.currentFilePath = path;
    return ReadOutcome::Read;
}

}  // namespace mivaro
