#include "analysis/analysis_json.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace mivaro {
namespace {

TEST(AnalysisJson, NumbersKeepTheirDigitsAndNonFiniteValuesBecomeStrings) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double value;
        int digits;
        const char* json;
    };
    const std::vector<Case> cases{
        {0.1, 17, "0.10000000000000001"},
        {static_cast<float>(0.1), 9, "0.100000001"},
        {inf, 17, "\"inf\""},
        {-inf, 9, "\"-inf\""},
        {std::fabs(std::nan("")), 17, "\"nan\""},
        {-std::fabs(std::nan("")), 17, "\"-nan\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(jsonNumber(c.value, c.digits), c.json);
    }
    EXPECT_EQ(jsonString("HV =  1.5 kgf/mm\u00b2 \"a\\b\"\n"),
              "\"HV =  1.5 kgf/mm\u00b2 \\\"a\\\\b\\\"\\u000a\"");
}

TEST(AnalysisJson, ObjectOnOneLineWithNullsForWhatTheFlowDidNotProduce) {
    FlowOutcome rate;
    rate.text = "0.50 mN/s";
    EXPECT_EQ(analysisJson(rate, IndentationResults{}),
              "{\"text\": \"0.50 mN/s\", \"results\": null, \"series\": null}");

    FlowOutcome section;
    section.resultsComputed = true;
    section.seriesAdded = true;
    section.seriesX = {0, 12.5};
    section.seriesY = {70.25, -std::fabs(std::nan(""))};
    IndentationResults r;
    r.r2 = 0.5;
    r.Er = 0.1f;
    r.HM = std::numeric_limits<float>::infinity();
    EXPECT_EQ(
        analysisJson(section, r),
        "{\"text\": null, \"results\": {\"r2\": 0.5, \"m\": 0, \"a\": 0, \"hf\": 0, \"S\": 0, \"hc\": 0, "
        "\"Er\": 0.100000001, \"Es\": 0, \"Vs\": 0, \"Vi\": 0, \"Ei\": 0, \"HM\": \"inf\", \"HV\": 0, "
        "\"HRA\": 0}, \"series\": [[0, 70.25], [12.5, \"-nan\"]]}");

    FlowOutcome empty;
    empty.seriesAdded = true;
    EXPECT_EQ(analysisJson(empty, r), "{\"text\": null, \"results\": null, \"series\": []}");
}

}  // namespace
}  // namespace mivaro
