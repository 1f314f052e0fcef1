// libFuzzer target for the import preview and Guess. The first 13 bytes of
// the input are the setup (twelve small numbers and the other separator
// character), the rest the raw text of the sample. Invariants: every column
// preview is "?????" or passes its own test, the preview carries a prefix on
// every line, and Guess gives columns the walk can reach.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "curves/import_preview.h"
#include "fuzz_support.h"

namespace {

using mivaro::fuzz::check;

bool hasLetterBeforeLast(const std::string& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        const char c = text[i];
        if (((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) && c != 'e') {
            return true;
        }
    }
    return false;
}

void checkPreview(const mivaro::ImportDialogState& state) {
    const mivaro::ImportPreview& p = state.preview;
    for (const std::string* column : {&p.displacement, &p.force}) {
        check(*column == mivaro::kFlaggedColumn || (!column->empty() && !hasLetterBeforeLast(*column)));
    }
    if (!p.text.empty()) {
        check(p.text.rfind("H> ", 0) == 0 || p.text.rfind("1> ", 0) == 0);
    }
    check(p.text.find('\n') == std::string::npos || p.text.back() != '\n');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kSetupBytes = 13;
    if (size < kSetupBytes) {
        return 0;
    }
    mivaro::ImportDialogState state;
    mivaro::ColumnSetup& s = state.setup;
    const auto small = [data](std::size_t k, int range) { return static_cast<int>(data[k] % range) - 1; };
    s.headerLines = small(0, 30);
    s.displacementColumn = small(1, 24);
    s.forceColumn = small(2, 24);
    s.decimalComma = data[3] & 1;
    s.depthUnit = small(4, 5);
    s.forceUnit = small(5, 4);
    s.separatorKind = data[6] % 5;
    s.segmentColumnPresent = data[7] & 1;
    s.timeColumnPresent = data[8] & 1;
    s.segmentColumn = small(9, 24);
    s.timeColumn = small(10, 24);
    state.otherSeparatorText = std::string(reinterpret_cast<const char*>(data + 11), (data[12] & 1) + 1);
    const std::string_view raw(reinterpret_cast<const char*>(data + kSetupBytes), size - kSetupBytes);
    state.rawText = std::string(raw.substr(0, mivaro::kPreviewCharacters));

    state.preview = mivaro::buildImportPreview(state);
    checkPreview(state);
    mivaro::guessImportSetup(state);
    checkPreview(state);
    // The walk covers at most 300 characters, so at most 300 columns.
    for (const int column : {s.displacementColumn, s.forceColumn, s.timeColumn}) {
        check(column >= 0 && column <= 300);
    }
    check(s.headerLines >= 0 && s.separatorKind >= 0 && s.separatorKind <= 4);
    return 0;
}
