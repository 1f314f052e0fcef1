#include "curves/curve_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

#include "curve_test_support.h"
#include "curves/curve_reader.h"
#include "curves/settings_files.h"
#include "support/file_size_limit.h"

namespace mivaro {
namespace {

IndentCurve curveOf(const std::vector<std::array<double, 3>>& points, std::string letters) {
    IndentCurve curve;
    for (const auto& p : points) {
        curve.depth.push_back(p[0]);
        curve.force.push_back(p[1]);
        curve.time.push_back(p[2]);
    }
    curve.segment.assign(letters.begin(), letters.end());
    return curve;
}

std::string formatted(const IndentCurve& curve) {
    std::string out;
    formatStandardCurve(curve, out);
    return out;
}

TEST(CurveWriter, LinesAndLabels) {
    // X before any label gets a label the reader does not know; B is written
    // with the traditional spelling; other unknown letters repeat the label before.
    const IndentCurve curve = curveOf({{1234.5, 0.5, 2},
                                       {100, 1, 0},
                                       {2000, 3, 1.5},
                                       {2000, 3, 1.5},
                                       {3000, 2, 3},
                                       {4000, 1, 4},
                                       {5, 0, 5}},
                                      "XULXBRQ");
    EXPECT_EQ(formatted(curve),
              "Depth(um),Force(mN),Time(s),Segment\r\n"
              "1.234500e+00,5.000000e-01,2.000000,NONE\r\n"
              "1.000000e-01,1.000000e+00,0.000000,UNLOAD\r\n"
              "2.000000e+00,3.000000e+00,1.500000,LOAD\r\n"
              "2.000000e+00,3.000000e+00,1.500000,LOAD\r\n"
              "3.000000e+00,2.000000e+00,3.000000,BUTTOM_HOLD\r\n"
              "4.000000e+00,1.000000e+00,4.000000,RELOAD\r\n"
              "5.000000e-03,0.000000e+00,5.000000,RELOAD\r\n");
}

TEST(CurveWriter, NumbersAreThoseOfPrintf) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> mantissa(-10, 10);
    std::uniform_int_distribution<int> exponent(-300, 300);
    IndentCurve curve;
    std::string expected = std::string(kStandardCurveHeader) + "\r\n";
    for (int k = 0; k < 2000; ++k) {
        double values[3];
        for (double& v : values) {
            v = mantissa(random) * std::pow(10.0, exponent(random) / (k % 3 == 2 ? 30 : 1));
        }
        if (k == 0) {
            values[0] = NAN;
            values[1] = -INFINITY;
            values[2] = -0.0;
        }
        curve.depth.push_back(values[0]);
        curve.force.push_back(values[1]);
        curve.time.push_back(values[2]);
        curve.segment.push_back(LOAD);
        char line[512];
        std::snprintf(line, sizeof line, "%e,%e,%f,LOAD\r\n", values[0] * 0.001, values[1], values[2]);
        expected += line;
    }
    EXPECT_EQ(formatted(curve), expected);
}

TEST(CurveWriter, ReadsBackToTheSameLetters) {
    test::TempDir dir;
    test::RecordingMessages messages;
    IndentCurve written = curveOf(
        {{10, 0.1, 0}, {20, 0.2, 1}, {30, 0.3, 2}, {40, 0.4, 3}, {40, 0.4, 4}, {30, 0.1, 5}, {29, 0.1, 6}},
        "XXLTUBR");
    const std::string path = dir.path("round.MVR");
    std::string error;
    ASSERT_TRUE(writeStandardCurveFile(path, written, error)) << error;

    IndentCurve read;
    read.settingsDirectory = dir.dir();
    ASSERT_EQ(readCurveFile(read, path, messages), ReadOutcome::Read);
    EXPECT_EQ(std::string(read.segment.begin(), read.segment.end()), "XXLTUBR");
    ASSERT_EQ(read.pointCount(), written.pointCount());
    for (int i = 0; i < read.pointCount(); ++i) {
        const auto k = static_cast<std::size_t>(i);
        EXPECT_NEAR(read.depth[k], written.depth[k], 1e-9 * written.depth[k]);
        EXPECT_DOUBLE_EQ(read.force[k], written.force[k]);
        EXPECT_DOUBLE_EQ(read.time[k], written.time[k]);
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST(CurveWriter, FailureMidwayKeepsThePreviousFile) {
    test::TempDir dir;
    const std::string path = dir.write("keep.MVR", "previous");
    IndentCurve curve = curveOf({}, "");
    for (int k = 1; k <= 5000; ++k) {
        curve.depth.push_back(k);
        curve.force.push_back(k);
        curve.time.push_back(k);
        curve.segment.push_back(LOAD);
    }
    std::string error;
    {
        test::FileSizeLimit diskFull(4096);
        EXPECT_FALSE(writeStandardCurveFile(path, curve, error));
    }
    EXPECT_FALSE(error.empty());
    std::string text;
    ASSERT_TRUE(readWholeFile(path, text));
    EXPECT_EQ(text, "previous");
    EXPECT_FALSE(writeStandardCurveFile(dir.path("missing/x.MVR"), curve, error));
}

}  // namespace
}  // namespace mivaro
