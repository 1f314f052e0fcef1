// libFuzzer target for the curve reader, all in memory. The input is split at
// its first NUL byte: the part before it is the text of "MivaroOpenSetup.par",
// the rest the curve file, read as a text import or, when the input's first
// byte is odd, as a standard curve file. Invariants checked: every kept point
// has depth > 0, the data-line count bounds the points, and a column error
// leaves nothing behind.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "curves/curve_reader.h"
#include "curves/decimal_conversion.h"
#include "curves/line_reader.h"
#include "curves/settings_files.h"
#include "fuzz_support.h"

using mivaro::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string_view setupText =
        split == std::string_view::npos ? std::string_view() : input.substr(0, split);
    const std::string_view curveText = split == std::string_view::npos ? input : input.substr(split + 1);

    double value = 0;
    const std::size_t consumed = mivaro::scanDecimal(input.data(), input.data() + input.size(), value);
    check(consumed <= input.size());

    mivaro::IndentCurve curve;
    const bool standard = size > 0 && (data[0] & 1) != 0;
    if (!standard && mivaro::parseOpenSetup(std::string(setupText), curve.columnSetup)) {
        check(curve.columnSetup.separatorKind >= 0 && curve.columnSetup.separatorKind <= 3);
    }
    mivaro::fuzz::NoMessages messages;
    curve.names = {"curve"};
    const mivaro::ReadOutcome outcome = mivaro::readCurveBytes(curve, curveText, messages);
    check(outcome != mivaro::ReadOutcome::NotOpened);
    const std::size_t n = curve.depth.size();
    check(curve.force.size() == n && curve.time.size() == n && curve.segment.size() == n);
    mivaro::LineReader lines = mivaro::LineReader::fromBytes(curveText);
    check(static_cast<long long>(n) <= mivaro::countDataLines(lines));
    for (const double depth : curve.depth) {
        check(depth > 0);
    }
    if (outcome == mivaro::ReadOutcome::ColumnError) {
        check(n == 0 && curve.names.empty() && curve.currentFilePath.empty());
    }
    return 0;
}
