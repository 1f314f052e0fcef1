// The setup's options, the file's metadata, the shared row and the summary.
#include <gtest/gtest.h>

#include <string>

#include "analysis/iso_indent_row.h"
#include "analysis/iso_setup.h"
#include "analysis/result_row.h"
#include "analysis/result_summary.h"

namespace mivaro {
namespace {

TEST(IsoSetup, OptionsSetTheirValuesOrSayWhatIsWrong) {
    const struct {
        const char* option;
        const char* value;
        bool ok;
    } cases[] = {
        {"--fit", "document", true},
        {"--fit", "fast", false},
        {"--window", "20-95", true},
        {"--window", "95-20", false},
        {"--window", "20", false},
        {"--epsilon", "m", true},
        {"--epsilon", "0.72", true},
        {"--epsilon", "1.5", false},
        {"--beta", "1.034", true},
        {"--beta", "0", false},
        {"--nu-s", "file", true},
        {"--nu-i", "file", false},
        {"--nu-s", "0.6", false},
        {"--Ei", "1141", true},
        {"--Ei", "-1", false},
        {"--area", "24.5,0", true},
        {"--area", "24.5,1,2,3,4,5", true},
        {"--area", "24.5", false},
        {"--area", "1,2,3,4,5,6,7", false},
        {"--frame-compliance", "0.1", true},
        {"--frame-compliance", "x", false},
        {"--drift", "hold", true},
        {"--drift", "-0.05", true},
        {"--drift", "0.05nm", false},
        {"--zero-point", "", true},
        {"--zero-point", "2-30", true},
        {"--zero-point", "2-300", false},
    };
    for (const auto& c : cases) {
        IsoSetup setup;
        const std::string why = applyIsoOption(setup, c.option, c.value);
        EXPECT_EQ(why.empty(), c.ok) << c.option << " " << c.value << ": " << why;
        if (!c.ok) {
            EXPECT_NE(why.find(c.option), std::string::npos) << why;
        }
    }
    IsoSetup setup;
    ASSERT_EQ(applyIsoOption(setup, "--area", "24.5,1,2,3,4,5"), "");
    EXPECT_EQ(setup.area[5], 5);
    ASSERT_EQ(applyIsoOption(setup, "--window", "20-95"), "");
    EXPECT_EQ(setup.windowLoPct, 20);
    EXPECT_EQ(setup.windowHiPct, 95);
}

TEST(IsoSetup, FileValuesComeFromTheMetadataOrAreNamedWhenAbsent) {
    recognise::KnownMetadata known;
    known.poissonRatio = 0.18;
    known.areaCoefficients = std::vector<double>{24.5, 100, 5, 1, 0.5, 0.25};
    known.driftNmPerS = 0.02;
    known.depthDriftCorrected = true;
    IsoSetup setup;
    for (const char* option : {"--nu-s", "--area", "--frame-compliance", "--drift"}) {
        ASSERT_EQ(applyIsoOption(setup, option, "file"), "");
    }
    ASSERT_TRUE(needsFileMetadata(setup));
    const std::string why = resolveFromFile(setup, known);
    EXPECT_EQ(why, "The file gives no frame compliance (--frame-compliance file).");
    EXPECT_EQ(setup.nuS, 0.18);
    EXPECT_EQ(setup.area[2], 5);
    // The instrument already took its drift out of the depths: reported, not applied again.
    EXPECT_TRUE(setup.driftAppliedByInstrument);
    EXPECT_EQ(isoDriftSourceName(setup), "instrument");
    ResultRow row;
    appendIsoProvenance(row, setup, nullptr);
    EXPECT_EQ(*row.find("iso_drift_nm_per_s")->number, 0);
    EXPECT_EQ(row.find("iso_drift_source")->text, "instrument (0.02 nm/s)");
}

TEST(ResultRow, CsvAndJsonOfCells) {
    ResultRow row;
    row.setText("file", "a,\"b\".MVR");
    row.setNumber("iso_Er_GPa", 72.123456789012);
    row.setEmpty("iso_CIT_pct");
    row.setText("iso_fit", "lsq");
    EXPECT_EQ(csvHeaderLine(row), "file,iso_Er_GPa,iso_CIT_pct,iso_fit\n");
    EXPECT_EQ(csvRowLine(row), "\"a,\"\"b\"\".MVR\",72.1234568,,lsq\n");
    EXPECT_EQ(resultCellsJson(row, "iso_"),
              "{\"file\": \"a,\\\"b\\\".MVR\", \"Er_GPa\": 72.123456789011996, \"CIT_pct\": null, \"fit\": "
              "\"lsq\"}");
    // A failed computation keeps every column, empty.
    ResultRow failed = isoRow(IsoSetup{}, nullptr);
    const ResultRow good = isoRow(IsoSetup{}, nullptr);
    EXPECT_EQ(csvHeaderLine(failed), csvHeaderLine(good));
    EXPECT_FALSE(failed.find("iso_Er_GPa")->number);
    EXPECT_EQ(failed.find("program_version")->text, programVersion());
}

TEST(ResultSummary, StatisticsOverCompleteRowsAndOutliers) {
    std::vector<ResultRow> rows;
    const double er[] = {70, 71, 72, 73, 74, 200, 999};
    for (int k = 0; k < 7; ++k) {
        ResultRow row;
        row.setText("file", "f" + std::to_string(k));
        row.setText("indent", "i" + std::to_string(k));
        row.setText("error", k == 6 ? "broken" : "");
        row.setNumber("iso_Er_GPa", er[k]);
        row.setNumber("iso_HIT_MPa", 9000);
        rows.push_back(row);
    }
    const std::string text = resultSummaryCsv(rows);
    // Median 72.5, MAD 1.5: 200 is 57 scaled MADs off; the broken row is left out.
    EXPECT_EQ(text,
              "column,n,mean,sd,cv_pct,median,mad,min,max\n"
              "iso_Er_GPa,6,93.3333333,52.2749143,56.0088368,72.5,1.5,70,200\n"
              "iso_HIT_MPa,6,9000,0,0,9000,0,9000,9000\n"
              "\n"
              "outliers,file,indent,value,median,scaled_mads\n"
              "iso_Er_GPa,f5,i5,200,72.5,57.3317146\n");
}

}  // namespace
}  // namespace mivaro
