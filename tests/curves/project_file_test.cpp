#include "curves/project_file.h"

#include <gtest/gtest.h>

#include <sstream>

#include "curve_test_support.h"
#include "curves/mivaro_doc.h"

namespace mivaro {
namespace {

using test::RecordingMessages;
using test::TempDir;

std::string mvrCurve(double peakForce) {
    std::string text = "Depth(um),Force(mN),Time(s),Segment\n";
    text += "0.0,0.0,0.0,LOAD\n0.1," + std::to_string(peakForce / 2) + ",1.0,LOAD\n";
    text += "0.2," + std::to_string(peakForce) + ",2.0,TOP_HOLD\n0.15,1.0,3.0,UNLOAD\n";
    return text;
}

struct Fixture {
    TempDir dir;
    RecordingMessages messages;
    NoRepaint repaint;
    CMivaro4Doc doc{dir.dir(), messages, repaint};

    std::vector<std::string> writeCurves(int count) {
        std::vector<std::string> paths;
        for (int i = 0; i < count; ++i) {
            paths.push_back(dir.write("c" + std::to_string(i) + ".MVR", mvrCurve(10.0 + i)));
        }
        return paths;
    }
    void load(const std::string& text) {
        std::istringstream in(text);
        doc.loadProject(in);
    }
    std::string store() const {
        std::ostringstream out;
        doc.storeProject(out);
        return out.str();
    }
};

TEST(ProjectLines, LineEndsAndEmptyLines) {
    struct Case {
        const char* text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"a\n\nb", {"a", "", "b"}},
        {"a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"\r\n", {""}},
        {"a\n\r\nb", {"a", "", "b"}},  // LF then CR LF: two line ends
        {"a\r\rb", {"a", "", "b"}},    // CR CR: two line ends
        {"/x y/c 1.MVR\r\n", {"/x y/c 1.MVR"}},
    };
    for (const Case& c : cases) {
        std::istringstream in(c.text);
        bool truncated = true;
        EXPECT_EQ(readProjectLines(in, 2000, truncated), c.lines) << testing::PrintToString(c.text);
        EXPECT_FALSE(truncated);
    }
}

TEST(ProjectLines, TakesAtMostTheLimit) {
    struct Case {
        int lines;
        const char* ending;
        bool truncated;
    };
    for (const Case c : {Case{2000, "\r\n", false}, Case{2001, "\r\n", true}, Case{2000, "", false},
                         Case{2003, "\n", true}}) {
        std::string text;
        for (int i = 0; i < c.lines; ++i) {
            text += "f" + std::to_string(i) + (i + 1 < c.lines ? "\r\n" : c.ending);
        }
        std::istringstream in(text);
        bool truncated = false;
        const auto lines = readProjectLines(in, 2000, truncated);
        ASSERT_EQ(lines.size(), 2000u) << c.lines;
        EXPECT_EQ(lines.back(), "f1999");
        EXPECT_EQ(truncated, c.truncated) << c.lines;
    }
}

TEST(ProjectFile, StoreSkipsDeletedCurvesAndLoadRenumbers) {
    Fixture f;
    const auto paths = f.writeCurves(3);
    f.doc.appendPaths(paths);
    f.doc.rebuildCurveSet();
    ASSERT_EQ(f.doc.curveSet().curveCount(), 3);
    f.doc.curveSet().curves[2].style = 3;
    f.doc.curveSet().curves[2].colour = makeRgb(255, 0, 0);
    f.doc.deleteCurve(1);

    const std::string stored = f.store();
    EXPECT_EQ(stored, paths[0] + "\r\n" + paths[2] + "\r\n");
    EXPECT_EQ(f.doc.curveSet().curveCount(), 3) << "storing must not change the document";

    f.load(stored);
    const CurveSet& set = f.doc.curveSet();
    ASSERT_EQ(set.curveCount(), 2);
    EXPECT_EQ(set.curves[0].path, paths[0]);
    EXPECT_EQ(set.curves[1].path, paths[2]);
    EXPECT_EQ(f.doc.indentCurve().names, (std::vector<std::string>{paths[0], paths[2]}));
    // Styles and colours are not part of a project.
    EXPECT_EQ(set.curves[1].style, 0);
    EXPECT_EQ(set.curves[1].colour, makeRgb(0, 0, 0));
    EXPECT_EQ(set.curves[1].size, 1);
    const int perCurve = set.endPointOf(0) - set.firstPointOf(0);
    EXPECT_GT(perCurve, 0);
    EXPECT_EQ(set.pointCount(), 2 * perCurve);
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(ProjectFile, RoundTripKeepsOrderWhateverTheLineEnds) {
    Fixture f;
    const auto paths = f.writeCurves(3);
    for (const char* ending : {"\r\n", "\n", "\r"}) {
        f.load(paths[2] + ending + paths[0] + ending + paths[1]);
        EXPECT_EQ(f.store(), paths[2] + "\r\n" + paths[0] + "\r\n" + paths[1] + "\r\n") << ending;
        const CurveSet& set = f.doc.curveSet();
        ASSERT_EQ(set.curveCount(), 3);
        EXPECT_GT(set.endPointOf(0), 0);
        EXPECT_EQ(set.pointCount(), 3 * set.endPointOf(0));
    }
}

TEST(ProjectFile, MissingFilesBecomeEmptyCurvesAndAreNamed) {
    Fixture f;
    const auto paths = f.writeCurves(2);
    const std::string gone = f.dir.path("moved_away.MVR");
    f.load(paths[0] + "\r\n" + gone + "\r\n" + paths[1] + "\r\n");
    const CurveSet& set = f.doc.curveSet();
    ASSERT_EQ(set.curveCount(), 3);
    EXPECT_EQ(set.firstPointOf(1), set.endPointOf(1)) << "the missing file gives a curve without points";
    EXPECT_EQ(set.pointCount(), 2 * set.endPointOf(0));
    ASSERT_EQ(f.messages.shown.size(), 1u);
    EXPECT_NE(f.messages.shown[0].text.find(gone), std::string::npos);

    // An empty line is an empty curve, not a file to name: the message lists
    // the missing file alone, without a blank line.
    f.messages.shown.clear();
    f.load(paths[0] + "\r\n\r\n" + gone + "\r\n");
    ASSERT_EQ(f.doc.curveSet().curveCount(), 3);
    ASSERT_EQ(f.messages.shown.size(), 1u);
    EXPECT_EQ(f.messages.shown[0].text.find("\n\n"), std::string::npos) << f.messages.shown[0].text;
    EXPECT_EQ(f.messages.shown[0].text.substr(f.messages.shown[0].text.rfind('\n') + 1),
              gone + " (No such file or directory)");

    // A project of empty lines only says nothing.
    f.messages.shown.clear();
    f.load("\r\n\r\n");
    EXPECT_EQ(f.doc.curveSet().curveCount(), 2);
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(ProjectFile, LoadReplacesEverythingAndTellsWhenLinesWereDropped) {
    Fixture f;
    const auto paths = f.writeCurves(2);
    f.doc.appendPaths(paths);
    f.doc.rebuildCurveSet();

    f.load("");
    EXPECT_EQ(f.doc.curveSet().curveCount(), 0);
    EXPECT_EQ(f.doc.curveSet().pointCount(), 0);
    EXPECT_EQ(f.doc.indentCurve().nameCount(), 0);
    EXPECT_EQ(f.doc.indentCurve().pointCount(), 0);

    std::string many;
    for (int i = 0; i < 2001; ++i) {
        many += paths[static_cast<std::size_t>(i % 2)] + "\r\n";
    }
    f.messages.shown.clear();
    f.load(many);
    bool toldAboutLimit = false;
    for (const auto& shown : f.messages.shown) {
        toldAboutLimit = toldAboutLimit || shown.text.find("2000") != std::string::npos;
    }
    EXPECT_TRUE(toldAboutLimit);
    EXPECT_GT(f.doc.curveSet().curveCount(), 0);
}

}  // namespace
}  // namespace mivaro
