// libFuzzer target for the instrument-file recogniser: any bytes under a
// fixed name. Invariants: every indent handed on has as many depths, forces,
// times and letters, the letters are segment letters, and a file that is not
// recognised hands on no indent.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "curves/recognise/recogniser.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using mivaro::fuzz::check;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    int handed = 0;
    const auto summary = mivaro::recognise::recogniseBytes(
        bytes, "fuzz 1 2 3.txt", [&](mivaro::recognise::RecognisedIndent& indent) {
            const std::size_t n = indent.depthNm.size();
            check(indent.forceMn.size() == n && indent.timeS.size() == n && indent.segments.size() == n);
            check(indent.segments.find_first_not_of("LTUBR") == std::string::npos);
            ++handed;
            return true;
        });
    check(summary.recognised || handed == 0);
    check(summary.indents == handed || !summary.error.empty());
    return 0;
}
