#include "analysis/iso_indent_row.h"

#include "analysis/iso_results.h"

namespace mivaro {

ResultRow recognisedIndentRow(const std::string& file, const recognise::RecognisedIndent& indent,
                              const IsoSetup& setup) {
    ResultRow row;
    row.setText("file", file);
    row.setText("indent", indent.name);
    IsoSetup resolved = setup;
    std::string error = resolveFromFile(resolved, indent.known);
    std::optional<IsoResults> results;
    const std::size_t n = indent.depthNm.size();
    if (error.empty() && (indent.forceMn.size() != n || indent.segments.size() != n)) {
        error = "The indent's depth, force and segment columns differ in length.";
    }
    if (error.empty()) {
        const IsoIndent points{indent.depthNm.data(), indent.forceMn.data(),
                               indent.timeS.size() == n ? indent.timeS.data() : nullptr,
                               indent.segments.data(), static_cast<int>(n)};
        results = computeIsoResults(points, resolved, nullptr);
        error = results->error;
    }
    row.setText("error", error);
    appendIsoCells(row, results ? &*results : nullptr);
    appendIsoProvenance(row, resolved, results ? &*results : nullptr);
    appendInstrumentCells(row, &indent.known);
    return row;
}

IsoResults isoResultsOfPoints(const CurveSet& set, int first, int last, const IsoSetup& setup,
                              const PowerLawFit* clickFit) {
    if (first < 0 || last >= set.pointCount() || last < first) {
        IsoResults none;
        none.error = "The indent has too few points for the results.";
        return none;
    }
    const auto from = static_cast<std::size_t>(first);
    const auto to = static_cast<std::size_t>(last) + 1;
    const std::vector<double> depth(set.depth.begin() + from, set.depth.begin() + to);
    const std::vector<double> force(set.force.begin() + from, set.force.begin() + to);
    const std::vector<double> time(set.time.begin() + from, set.time.begin() + to);
    const IsoIndent indent{depth.data(), force.data(), time.data(), set.segment.data() + from,
                           last - first + 1};
    return computeIsoResults(indent, setup, clickFit);
}

ResultRow isoRow(const IsoSetup& setup, const IsoResults* results) {
    ResultRow row;
    appendIsoCells(row, results);
    appendIsoProvenance(row, setup, results);
    return row;
}

}  // namespace mivaro
