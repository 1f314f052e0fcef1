#include "app/curve_file_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>

#include "curves/curve_conversion.h"
#include "curves/curve_reader.h"
#include "curves/curve_test_support.h"
#include "curves/recognise/import_recognition.h"
#include "curves/settings_files.h"

namespace mivaro {
namespace {

namespace fs = std::filesystem;

class ScriptedFiles final : public FileDialogPort {
  public:
    std::optional<std::vector<std::string>> chooseFilesToOpen(const OpenFileRequest& request) override {
        openRequests.push_back(request);
        return open;
    }
    std::optional<std::string> chooseFileToSave(const SaveFileRequest& request) override {
        saveRequests.push_back(request);
        return save;
    }
    std::optional<std::vector<std::string>> open;
    std::optional<std::string> save;
    std::vector<OpenFileRequest> openRequests;
    std::vector<SaveFileRequest> saveRequests;
};

class ScriptedSetup final : public ImportSetupDialogPort {
  public:
    std::optional<ImportDialogState> askImportSetup(const ImportDialogState& state) override {
        shown.push_back(state);
        return answer ? answer(state) : std::nullopt;
    }
    std::function<std::optional<ImportDialogState>(ImportDialogState)> answer;
    std::vector<ImportDialogState> shown;
};

class Commands : public ::testing::Test {
  protected:
    Commands() : doc(dir.dir(), messages, repaint) {}

    test::TempDir dir;
    test::RecordingMessages messages;
    NoRepaint repaint;
    CMivaro4Doc doc;
    ScriptedFiles files;
    ScriptedSetup setup;
};

TEST_F(Commands, CancelLeavesTheListAsBeforeAndWritesNothing) {
    const std::string old = dir.write("old.MVR", "h\n1,1,0,LOAD\n2,2,1,LOAD\n3,3,2,LOAD\n");
    doc.appendPaths({old});
    doc.rebuildCurveSet();
    files.open = std::vector<std::string>{dir.write("new.txt", "Depth (nm),Load (mN)\n12.5,0.31\n")};
    importTextFiles(doc, files, setup);
    ASSERT_EQ(setup.shown.size(), 1u);
    EXPECT_EQ(files.openRequests.at(0).filters.at(0).description, "Import Curve Files (*.CSV *.TXT)");
    EXPECT_EQ(setup.shown[0].rawText, "Depth (nm),Load (mN)\n12.5,0.31\n");
    const std::string marker(kColumnMarker);
    EXPECT_EQ(setup.shown[0].preview.text,
              "H> Depth (nm)" + marker + "Load (mN)\r\n2> 12.5" + marker + "0.31\r");
    EXPECT_EQ(doc.indentCurve().names, std::vector<std::string>{old});
    EXPECT_EQ(doc.curveSet().curveCount(), 1);
    EXPECT_FALSE(fs::exists(dir.path(kOpenSetupFileName)));
    EXPECT_FALSE(fs::exists(dir.path("new.MVR")));
}

TEST_F(Commands, UnreadablePreviewFileNamesPathAndReason) {
    files.open = std::vector<std::string>{dir.path("gone.txt")};
    importTextFiles(doc, files, setup);
    EXPECT_TRUE(setup.shown.empty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, "Error");
    EXPECT_EQ(messages.shown[0].text,
              "File already open\n" + dir.path("gone.txt") + "\nNo such file or directory");
}

TEST_F(Commands, ImportConvertsStoresTheSetupAndSavesAsMvr) {
    const std::string source = dir.write("run.1.txt", "Depth (nm),Load (mN)\n100,0.1\n200,0.2\n300,0.3\n");
    files.open = std::vector<std::string>{source};
    setup.answer = [](ImportDialogState state) {
        guessImportSetup(state);
        return std::optional<ImportDialogState>(state);
    };
    importTextFiles(doc, files, setup);
    EXPECT_EQ(doc.indentCurve().names, std::vector<std::string>{dir.path("run.MVR")});
    ASSERT_EQ(doc.curveSet().pointCount(), 3);
    EXPECT_FLOAT_EQ(doc.curveSet().depth[2], 300);
    ColumnSetup stored;
    ASSERT_TRUE(readOpenSetup(dir.dir(), stored));
    EXPECT_EQ(stored.forceColumn, 2);
    EXPECT_EQ(doc.importState().setup, stored);

    files.save = dir.path("copy.MVR");
    saveAsMvr(doc, files);
    EXPECT_EQ(files.saveRequests.at(0).filters.at(0).description, "MVR Files (*.MVR)");
    EXPECT_EQ(files.saveRequests.at(0).defaultExtension, "MVR");
    EXPECT_EQ(messages.shown.back().text, dir.path("copy_run.MVR"));
    std::string first;
    std::string second;
    ASSERT_TRUE(readWholeFile(dir.path("run.MVR"), first));
    ASSERT_TRUE(readWholeFile(dir.path("copy_run.MVR"), second));
    EXPECT_EQ(first, second);
}

// "Recognise" pressed: OK writes one standard curve file per indent and loads
// them all; the real archive gives its 39 indents when it is here.
TEST_F(Commands, RecognisedExportsBecomeOneCurveFilePerIndent) {
    std::string nanoTest;
    for (int i = 0; i <= 40; ++i) {
        const double load = i <= 20 ? i * 5.0 : (40 - i) * 5.0;
        nanoTest += std::to_string(i * 0.5) + "\t" + std::to_string(10 + 40 * std::sqrt(load)) + "\t" +
                    std::to_string(load) + "\r\n";
    }
    struct Case {
        std::string file;
        std::size_t curves;
        std::string firstOutput;
    };
    std::vector<Case> cases = {{dir.write("nano.txt", nanoTest), 1, dir.path("nano.MVR")}};
    const std::string archive = test::sharedExport("micromaterials_multipleIndentations.zip");
    if (fs::exists(archive)) {
        fs::copy_file(archive, dir.path("multi.zip"));
        cases.push_back({dir.path("multi.zip"), 39, ""});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        doc.newDocument();
        files.open = std::vector<std::string>{c.file};
        setup.answer = [](ImportDialogState state) {
            EXPECT_TRUE(state.recognisable);
            EXPECT_NE(state.recognition.find("Press Recognise to use it."), std::string::npos)
                << state.recognition;
            recognise::applyRecognition(state);
            return std::optional<ImportDialogState>(state);
        };
        importTextFiles(doc, files, setup);
        EXPECT_TRUE(messages.shown.empty()) << messages.shown.front().text;
        ASSERT_EQ(doc.indentCurve().names.size(), c.curves);
        EXPECT_EQ(doc.curveSet().curveCount(), static_cast<int>(c.curves));
        if (!c.firstOutput.empty()) {
            EXPECT_EQ(doc.indentCurve().names.front(), c.firstOutput);
        }
        for (const std::string& name : doc.indentCurve().names) {
            EXPECT_TRUE(isStandardCurvePath(name)) << name;
        }
        EXPECT_NE(std::find(doc.curveSet().segment.begin(), doc.curveSet().segment.end(), UNLOAD),
                  doc.curveSet().segment.end());
    }
}

// The four real exports: the setup that reads each correctly imports it, and
// what the user sees after Guess shows what is left to set by hand.
struct RealExport {
    const char* file;
    ColumnSetup correct;
    int points;  // rows with a depth above 0
    double peakForceMn;
    bool previewShowsData;  // false: the header is longer than the sample
};

TEST_F(Commands, RealExportsImportAndSaveBackIdentically) {
    if (!fs::exists(test::sharedExport(""))) {
        GTEST_SKIP() << "the shared instrument exports are not here: " << test::sharedExport("");
    }
    const RealExport exports[] = {
        {"hysitron_triboscan_RobinSteel0000LC.txt", {4, 1, 2, 0, 0, 0, 1, ';', 0, 1, 0, 3}, 5015, 3.0, true},
        {"hysitron_highload_Exp-50mN_0000.hld", {1423, 2, 3, 0, 0, 0, 1, ';', 0, 1, 0, 1}, 426, 50.0, false},
        {"hysitron_ti_nanodent_experiment_a.hld", {13, 2, 3, 0, 0, 0, 1, ';', 0, 1, 0, 1}, 2395, 3.5, true},
        {"micromaterials_nanotest_1000nmXX_1.txt", {0, 2, 3, 0, 0, 1, 1, ';', 0, 1, 0, 1}, 871, 123.3, true},
    };
    for (const RealExport& e : exports) {
        SCOPED_TRACE(e.file);
        const std::string copy = dir.path(e.file);
        fs::copy_file(test::sharedExport(e.file), copy, fs::copy_options::overwrite_existing);
        doc.newDocument();
        files.open = std::vector<std::string>{copy};
        setup.answer = [&e](ImportDialogState state) {
            guessImportSetup(state);
            state.setup = e.correct;
            state.preview = buildImportPreview(state);
            // With the right setup no column of the preview is flagged.
            EXPECT_EQ(state.preview.displacement != kFlaggedColumn, e.previewShowsData);
            EXPECT_EQ(state.preview.force != kFlaggedColumn, e.previewShowsData);
            EXPECT_EQ(state.preview.time != kFlaggedColumn, e.previewShowsData);
            return std::optional<ImportDialogState>(state);
        };
        importTextFiles(doc, files, setup);
        EXPECT_TRUE(messages.shown.empty()) << messages.shown.front().text;
        const CurveSet& set = doc.curveSet();
        ASSERT_EQ(set.curveCount(), 1);
        EXPECT_EQ(set.pointCount(), e.points);
        const float peak = *std::max_element(set.force.begin(), set.force.end());
        EXPECT_NEAR(peak, e.peakForceMn, 0.1 * e.peakForceMn);

        std::string converted;
        ASSERT_TRUE(readWholeFile(importOutputPath(copy), converted));
        files.save = dir.path("again.MVR");
        saveAsMvr(doc, files);
        std::string saved;
        ASSERT_TRUE(readWholeFile(dir.path("again_" + fileTitle(copy) + ".MVR"), saved));
        EXPECT_EQ(saved, converted);
        messages.shown.clear();
    }
}

}  // namespace
}  // namespace mivaro
