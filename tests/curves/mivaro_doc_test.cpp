#include "curves/mivaro_doc.h"

#include <gtest/gtest.h>

#include <new>
#include <optional>
#include <string>
#include <vector>

#include "curve_test_support.h"
#include "curves/curve_file_dialog.h"
#include "curves/curve_reader.h"

namespace mivaro {
namespace {

class CountingRepaint final : public RepaintPort {
  public:
    void requestRepaint(bool erase) override {
        ++count;
        erased = erase;
    }
    int count = 0;
    bool erased = false;
};

class ScriptedDialogs final : public FileDialogPort {
  public:
    std::optional<std::vector<std::string>> chooseFilesToOpen(const OpenFileRequest& request) override {
        requests.push_back(request);
        return answer;
    }
    std::optional<std::string> chooseFileToSave(const SaveFileRequest&) override { return std::nullopt; }

    std::optional<std::vector<std::string>> answer;
    std::vector<OpenFileRequest> requests;
};

// A standard curve file of `points` loading points with forces start, start+1, ...
std::string curveText(int points, double start) {
    std::string text = "Depth(um),Force(mN),Time(s),Segment\r\n";
    for (int k = 0; k < points; ++k) {
        text += std::to_string(0.1 * (k + 1)) + "," + std::to_string(start + k) + "," + std::to_string(k) +
                ",LOAD\r\n";
    }
    return text;
}

class Document : public ::testing::Test {
  protected:
    Document() : doc(dir.dir(), messages, repaint) {}

    std::string curveFile(const std::string& name, int points, double start) {
        return dir.write(name, curveText(points, start));
    }

    test::TempDir dir;
    test::RecordingMessages messages;
    CountingRepaint repaint;
    CMivaro4Doc doc;
};

TEST_F(Document, StartsEmptyAndNewDocumentResets) {
    EXPECT_EQ(doc.indentCurve().settingsDirectory, dir.dir());
    EXPECT_EQ(doc.curveSet().pointCount(), 0);
    EXPECT_EQ(doc.curveSet().curveCount(), 0);
    EXPECT_EQ(doc.indentCurve().nameCount(), 0);
    doc.appendPaths({curveFile("a.MVR", 3, 1)});
    doc.rebuildCurveSet();
    doc.xAxisTitle = "depth";
    doc.newDocument();
    EXPECT_EQ(doc.curveSet().pointCount(), 0);
    EXPECT_EQ(doc.curveSet().curveCount(), 0);
    EXPECT_EQ(doc.indentCurve().nameCount(), 0);
    EXPECT_EQ(doc.xAxisTitle, "nm");
    EXPECT_EQ(doc.yAxisTitle, "mN");
}

TEST_F(Document, AppendsPathsLikeTheCurveFileDialog) {
    EXPECT_EQ(doc.appendPaths({"a.MVR", "b.MVR", "a.MVR", "A.MVR"}), 3);
    EXPECT_EQ(doc.appendPaths({"b.MVR", "c.MVR"}), 1);
    EXPECT_EQ(doc.indentCurve().names, (std::vector<std::string>{"a.MVR", "b.MVR", "A.MVR", "c.MVR"}));
    EXPECT_TRUE(messages.shown.empty());

    std::vector<std::string> many;
    for (int k = 0; k < 2100; ++k) {
        many.push_back("f" + std::to_string(k) + ".MVR");
    }
    EXPECT_EQ(doc.appendPaths(many), IndentCurve::kNameCapacity - 4);
    EXPECT_EQ(doc.indentCurve().nameCount(), IndentCurve::kNameCapacity);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("104 file(s)"), std::string::npos) << messages.shown[0].text;
    EXPECT_NE(messages.shown[0].text.find("f1996.MVR"), std::string::npos);
    // Duplicates of listed paths are skipped silently, even when the list is full.
    messages.shown.clear();
    EXPECT_EQ(doc.appendPaths({"a.MVR"}), 0);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Document, RebuildsTheCurveSetFromTheNameList) {
    doc.appendPaths({curveFile("a.MVR", 3, 1), curveFile("b.MVR", 2, 10)});
    doc.rebuildCurveSet();
    const CurveSet& set = doc.curveSet();
    ASSERT_EQ(set.pointCount(), 5);
    ASSERT_EQ(set.curveCount(), 2);
    EXPECT_EQ(set.curveIndex, (std::vector<int>{0, 0, 0, 1, 1}));
    EXPECT_EQ(set.force, (std::vector<float>{1, 2, 3, 10, 11}));
    EXPECT_FLOAT_EQ(set.depth[4], 200);
    EXPECT_EQ(set.time[4], 1);
    EXPECT_EQ(std::string(set.segment.begin(), set.segment.end()), "LLLLL");
    EXPECT_EQ(set.colour, std::vector<Rgb>(5, 0));
    for (const CurveInfo& info : set.curves) {
        EXPECT_EQ(info.style, 0);
        EXPECT_EQ(info.size, 1);
        EXPECT_EQ(info.colour, 0u);
    }
    EXPECT_EQ(set.curves[1].path, dir.path("b.MVR"));
    EXPECT_EQ(set.firstPointOf(1), 3);
    EXPECT_EQ(set.endPointOf(1), 5);
    EXPECT_EQ(repaint.count, 1);
    EXPECT_TRUE(repaint.erased);

    // Styles and colours do not survive a rebuild.
    doc.curveSet().curves[0].style = 3;
    doc.rebuildCurveSet();
    EXPECT_EQ(doc.curveSet().curves[0].style, 0);
    EXPECT_EQ(doc.curveSet().pointCount(), 5);
}

TEST_F(Document, EmptyNameListStillRepaints) {
    doc.rebuildCurveSet();
    EXPECT_EQ(doc.curveSet().pointCount(), 0);
    EXPECT_EQ(doc.curveSet().curveCount(), 0);
    EXPECT_EQ(repaint.count, 1);
}

TEST_F(Document, DeletedCurvesLeaveAtTheNextOpen) {
    const std::string a = curveFile("a.MVR", 3, 1);
    const std::string b = curveFile("b.MVR", 2, 10);
    const std::string c = curveFile("c.MVR", 4, 20);
    doc.appendPaths({a, b, c});
    doc.rebuildCurveSet();
    doc.deleteCurve(1);
    const CurveSet& set = doc.curveSet();
    EXPECT_EQ(set.curveCount(), 3);
    EXPECT_EQ(set.pointCount(), 7);
    EXPECT_EQ(set.curveIndex, (std::vector<int>{0, 0, 0, 2, 2, 2, 2}));
    EXPECT_EQ(set.force[3], 20);
    EXPECT_EQ(set.colour.size(), 7u);
    EXPECT_TRUE(set.curves[1].deleted());
    EXPECT_EQ(set.firstPointOf(1), set.pointCount());
    EXPECT_EQ(set.endPointOf(1), set.pointCount());
    EXPECT_EQ(doc.indentCurve().nameCount(), 3);
    doc.deleteCurve(7);  // no such curve: nothing happens
    doc.deleteCurve(-1);
    EXPECT_EQ(set.pointCount(), 7);

    ScriptedDialogs dialogs;
    dialogs.answer = std::vector<std::string>{};
    doc.onOpenMvr(dialogs);
    EXPECT_EQ(doc.indentCurve().names, (std::vector<std::string>{a, c}));
    EXPECT_EQ(set.curveCount(), 2);
    EXPECT_EQ(set.curveIndex, (std::vector<int>{0, 0, 0, 1, 1, 1, 1}));
}

TEST_F(Document, OpenCommandAsksForStandardCurveFiles) {
    const std::string a = curveFile("a.MVR", 3, 1);
    ScriptedDialogs dialogs;
    doc.indentCurve().offerStandardFiles = false;
    doc.onOpenMvr(dialogs);  // cancelled
    ASSERT_EQ(dialogs.requests.size(), 1u);
    const OpenFileRequest& request = dialogs.requests[0];
    EXPECT_EQ(request.title, "Select Indentation Curves");
    ASSERT_EQ(request.filters.size(), 1u);
    EXPECT_EQ(request.filters[0].description, "Standard Curve Files (*.MVR)");
    EXPECT_EQ(request.filters[0].patterns, std::vector<std::string>{"*.MVR"});
    EXPECT_EQ(request.defaultExtension, ".csv");
    EXPECT_TRUE(request.multiSelect);
    EXPECT_FALSE(doc.indentCurve().fileDialogAccepted);
    EXPECT_EQ(repaint.count, 0);

    doc.indentCurve().currentFilePath = "old";
    dialogs.answer = std::vector<std::string>{a, a};
    doc.onOpenMvr(dialogs);
    EXPECT_TRUE(doc.indentCurve().fileDialogAccepted);
    EXPECT_EQ(doc.indentCurve().nameCount(), 1);
    EXPECT_EQ(doc.curveSet().pointCount(), 3);
    EXPECT_EQ(repaint.count, 1);

    const OpenFileRequest import = curveFileDialogRequest(false);
    ASSERT_EQ(import.filters.size(), 2u);
    EXPECT_EQ(import.filters[0].description, "Import Curve Files (*.CSV *.TXT)");
    EXPECT_EQ(import.filters[0].patterns, (std::vector<std::string>{"*.CSV", "*.TXT"}));
    EXPECT_EQ(import.filters[1].description, "All Files (*)");  // exports such as .hld
    EXPECT_EQ(import.defaultExtension, ".csv");
}

TEST_F(Document, UnreadableFilesKeepTheirSlotAndAreReportedOnce) {
    const std::string a = curveFile("a.MVR", 3, 1);
    doc.appendPaths({dir.path("gone1.MVR"), a, dir.path("gone2.MVR")});
    doc.rebuildCurveSet();
    const CurveSet& set = doc.curveSet();
    EXPECT_EQ(set.curveCount(), 3);
    EXPECT_EQ(set.pointCount(), 3);
    EXPECT_EQ(set.curveIndex[0], 1);
    EXPECT_EQ(set.curves[2].path, dir.path("gone2.MVR"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, "Error");
    EXPECT_NE(messages.shown[0].text.find("gone1.MVR (No such file or directory)\n" + dir.path("gone2.MVR") +
                                          " (No such file or directory)"),
              std::string::npos);
    EXPECT_EQ(messages.shown[0].text.find("a.MVR"), std::string::npos);
}

// Only the bad file is left out: the curves before and after it, and their
// entries in the list, stay.
TEST_F(Document, ColumnErrorLeavesOnlyThatFileOut) {
    const std::string a = curveFile("a.MVR", 3, 1);
    const std::string bad = dir.write("bad.MVR", "h\n0.1,1,1,LOAD\n0.25\n");  // no force column
    const std::string c = curveFile("c.MVR", 2, 5);
    doc.appendPaths({a});
    doc.rebuildCurveSet();
    doc.appendPaths({bad, c});  // as "Open .MVR" adds files
    doc.rebuildCurveSet();
    const CurveSet& set = doc.curveSet();
    EXPECT_EQ(set.curveCount(), 2);
    EXPECT_EQ(set.pointCount(), 5);
    EXPECT_EQ(set.curves[1].path, c);
    EXPECT_EQ(set.curveIndex[4], 1);
    EXPECT_EQ(doc.indentCurve().names, (std::vector<std::string>{a, c}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, std::string(kForceColumnError) + "\n" + bad + "\nline 3");
    EXPECT_EQ(messages.shown[0].caption, "Error");
    EXPECT_EQ(repaint.count, 2);
}

TEST_F(Document, RunningOutOfMemoryKeepsTheCurvesOnScreen) {
    // The column error's message box stands in for any allocation that fails midway.
    struct FailingMessages final : MessagePort {
        MessageAnswer showMessage(const std::string&, const std::string&, MessageButtons) override {
            throw std::bad_alloc();
        }
    } failing;
    CMivaro4Doc shown(dir.dir(), failing, repaint);
    shown.appendPaths({curveFile("c.MVR", 2, 5)});
    shown.rebuildCurveSet();
    shown.appendPaths({curveFile("a.MVR", 3, 1), dir.write("bad.MVR", "h\n0.1,1,1,LOAD\n0.25\n")});
    EXPECT_THROW(shown.rebuildCurveSet(), std::bad_alloc);
    EXPECT_EQ(shown.curveSet().pointCount(), 2);
    EXPECT_EQ(shown.curveSet().curveCount(), 1);
    EXPECT_EQ(shown.indentCurve().nameCount(), 3);
}

TEST_F(Document, MoreThanAThousandCurvesNeverOverflow) {
    const std::string one = curveFile("one.MVR", 1, 1);
    std::vector<std::string> paths;
    for (int k = 0; k < 1003; ++k) {
        paths.push_back(one + "?" + std::to_string(k));  // distinct paths that do not exist
    }
    paths[0] = one;
    doc.appendPaths(paths);
    doc.rebuildCurveSet();
    EXPECT_EQ(doc.curveSet().curveCount(), CurveSet::kCurveCapacity);
    EXPECT_EQ(doc.indentCurve().nameCount(), CurveSet::kCurveCapacity);
    EXPECT_EQ(doc.curveSet().pointCount(), 1);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].caption, "Error");  // the 999 paths that do not exist
    EXPECT_NE(messages.shown[0].text.find("(and 979 more)"), std::string::npos);
    EXPECT_NE(messages.shown[1].text.find("3 file(s) were left out"), std::string::npos);
    EXPECT_NE(messages.shown[1].text.find("?1002"), std::string::npos);
}

}  // namespace
}  // namespace mivaro
