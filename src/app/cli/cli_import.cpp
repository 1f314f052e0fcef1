// mivaro-cli convert, guess and save-as: the import's conversion, the import
// dialog's Guess and "Save As .MVR" without a window.
#include <cstdio>
#include <string>
#include <vector>

#include "app/cli/cli_common.h"
#include "curves/curve_conversion.h"
#include "curves/import_preview.h"
#include "curves/recognise/recognised_conversion.h"
#include "platform/c_format.h"
#include "platform/text_encoding.h"

namespace mivaro::cli {
namespace {

constexpr const char* kConvertUsage = "usage: mivaro-cli convert [--recognise] [--settings DIR] FILE...\n";
constexpr const char* kGuessUsage = "usage: mivaro-cli guess [--settings DIR] FILE\n";
constexpr const char* kSaveAsUsage = "usage: mivaro-cli save-as --name PATH [--settings DIR] FILE...\n";

// The window shows "File Saved As:" before each write; the command line prints
// the paths written instead. Every other message goes to standard error.
class SaveAsMessages final : public MessagePort {
  public:
    MessageAnswer showMessage(const std::string& text, const std::string& caption,
                              MessageButtons buttons) override {
        if (caption == kFileSavedAsCaption) {
            return MessageAnswer::Ok;  // the path is printed once its file is written
        }
        return m_errors.showMessage(text, caption, buttons);
    }
    bool anyError() const { return m_errors.anyShown(); }

  private:
    StderrMessages m_errors;
};

int finish(const char* command, bool messagesShown) {
    if (!outputWritten(command, "the output")) {
        return kExitMessage;
    }
    return messagesShown ? kExitMessage : kExitOk;
}

}  // namespace

int runConvert(const std::vector<std::string>& args) {
    CommandLine line;
    if (const std::string why = parseCommandLine(args, {"--settings"}, line, {"--recognise"}); !why.empty()) {
        return usageError("convert", why, kConvertUsage);
    }
    StderrMessages messages;
    NoRepaint repaint;
    CMivaro4Doc doc(asSettingsDirectory(line.value("--settings", ".")), messages, repaint);
    doc.appendPaths(line.files);
    if (line.has("--recognise")) {
        // Each path as soon as it is on disk: an archive of hundreds of indents shows its progress.
        recognise::convertWithRecogniser(doc.indentCurve(), 0, messages, [](const std::string& path) {
            writeOut(path + "\n");
            std::fflush(stdout);
        });
    } else {
        const ConversionReport report = convertCurveFiles(doc.indentCurve(), messages);
        for (const std::string& path : report.written) {
            writeOut(path + "\n");
        }
    }
    doc.rebuildCurveSet();  // the loading pass: what the graph would show
    return finish("convert", messages.anyShown());
}

int runGuess(const std::vector<std::string>& args) {
    CommandLine line;
    if (const std::string why = parseCommandLine(args, {"--settings"}, line); !why.empty()) {
        return usageError("guess", why, kGuessUsage);
    }
    if (line.files.size() != 1) {
        return usageError("guess", "give one file", kGuessUsage);
    }
    ImportDialogState state;
    loadImportSetup(asSettingsDirectory(line.value("--settings", ".")), state);
    std::string reason;
    if (!readPreviewText(line.files.front(), state.rawText, reason)) {
        std::fprintf(stderr, "mivaro-cli guess: cannot read %s: %s\n", line.files.front().c_str(),
                     reason.c_str());
        return kExitMessage;
    }
    guessImportSetup(state);
    const ColumnSetup& s = state.setup;
    writeOut(
        formatC("{\"header_lines\":%d,\"displacement_column\":%d,\"force_column\":%d,\"decimal_comma\":%d,"
                "\"depth_unit\":%d,\"force_unit\":%d,\"separator_kind\":%d,\"other_separator\":%s,"
                "\"segment_present\":%d,\"time_present\":%d,\"segment_column\":%d,\"time_column\":%d,"
                "\"preview\":%s,\"displacement\":%s,\"force\":%s,\"time\":%s,\"segment\":%s}\n",
                s.headerLines, s.displacementColumn, s.forceColumn, s.decimalComma, s.depthUnit, s.forceUnit,
                s.separatorKind, jsonString(state.otherSeparatorText).c_str(), s.segmentColumnPresent,
                s.timeColumnPresent, s.segmentColumn, s.timeColumn, jsonString(state.preview.text).c_str(),
                jsonString(state.preview.displacement).c_str(), jsonString(state.preview.force).c_str(),
                jsonString(state.preview.time).c_str(), jsonString(state.preview.segment).c_str()));
    return finish("guess", false);
}

int runSaveAs(const std::vector<std::string>& args) {
    CommandLine line;
    if (const std::string why = parseCommandLine(args, {"--settings", "--name"}, line); !why.empty()) {
        return usageError("save-as", why, kSaveAsUsage);
    }
    if (!line.has("--name") || line.value("--name").empty()) {
        return usageError("save-as", "--name PATH is needed", kSaveAsUsage);
    }
    const auto loaded = loadDocument("save-as", line.value("--settings", "."), line.files);
    SaveAsMessages messages;
    for (const std::string& path :
         saveCurveFilesAs(loaded->doc->indentCurve(), line.value("--name"), messages)) {
        writeOut(path + "\n");
    }
    return finish("save-as", loaded->messages.anyShown() || messages.anyError());
}

}  // namespace mivaro::cli
