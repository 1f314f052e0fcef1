#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/iso_setup.h"
#include "curves/mivaro_doc.h"
#include "platform/message_port.h"

namespace mivaro::cli {

// Exit statuses shared by every command.
constexpr int kExitOk = 0;
constexpr int kExitMessage = 1;  // a message the window would show in a box went to stderr
constexpr int kExitUsage = 2;

// Prints what the window would show in a message box to standard error and
// remembers that it did, so the command can exit with status 1.
class StderrMessages final : public MessagePort {
  public:
    MessageAnswer showMessage(const std::string& text, const std::string& caption,
                              MessageButtons buttons) override;
    bool anyShown() const { return m_shown; }
    // A line of the command's own on standard error, counted as a message.
    void report(const std::string& line);

  private:
    bool m_shown = false;
};

// A document loaded from FILE... exactly as `mivaro-cli points` loads it.
struct LoadedDocument {
    StderrMessages messages;
    NoRepaint repaint;
    std::unique_ptr<CMivaro4Doc> doc;
};

// Puts the files into the name list (duplicates skipped) and rebuilds the
// CurveSet with settingsDirectory as the directory of the .par files. Each
// file that could not be read is said on standard error first,
// "mivaro-cli COMMAND: cannot read FILE: reason".
std::unique_ptr<LoadedDocument> loadDocument(const char* command, const std::string& settingsDirectory,
                                             const std::vector<std::string>& files);

// "DIR" -> "DIR/" (settings files are opened as directory + name).
std::string asSettingsDirectory(const std::string& directory);

// The arguments of one command: options that take a value, then files.
struct CommandLine {
    std::map<std::string, std::string> values;
    std::vector<std::string> files;

    bool has(const std::string& option) const { return values.count(option) != 0; }
    std::string value(const std::string& option, const std::string& fallback = {}) const;
};

// Splits args into the given value options, flags (options without a value,
// held with an empty value) and files; "--" ends the options. Only --label
// may be given an empty value. A --settings folder that does not exist is
// refused: a mistyped name would silently give the default settings.
// Returns an empty string on success, else what is wrong (for the user).
std::string parseCommandLine(const std::vector<std::string>& args,
                             const std::vector<std::string>& valueOptions, CommandLine& parsed,
                             const std::vector<std::string>& flagOptions = {});

// The instrument-grade results asked for on a command line.
struct IsoOptions {
    bool iso = false;
    std::vector<std::pair<std::string, std::string>> values;  // option, value in order
};

// Takes --iso and the options of kIsoValueOptions (and --zero-point with its
// optional LO-HI) out of args. Returns an empty string, or what is wrong.
std::string takeIsoOptions(std::vector<std::string>& args, IsoOptions& options);

// The setup: the settings' values, then the options in order. Returns an empty
// string, or what is wrong with an option (for the user). The value "file"
// is taken only when recognising (the recogniser reads a file's metadata).
std::string isoSetupOf(const IsoOptions& options, const ModulusSettings& settings, IsoSetup& setup,
                       bool recognising = false);

// "WxH" with each side 1 to kMaxImageSide pixels; false leaves width and height as they were.
// Larger images are refused rather than risking an allocation of gigabytes.
constexpr int kMaxImageSide = 20000;
bool parseImageSize(const std::string& text, int& width, int& height);

// "AxB" with separator 'x' (or ',') and two plain non-negative integers.
bool parseIntPair(const std::string& text, char separator, int& first, int& second);

// Prints "mivaro-cli COMMAND: WHY" and the usage to stderr; returns kExitUsage.
int usageError(const char* command, const std::string& why, const char* usage);

// Writes text to standard output; after a failed write nothing more is tried
// and outputWritten reports the first failure.
void writeOut(std::string_view text);

// Flushes standard output; when anything written to it was lost, says why on
// standard error ("mivaro-cli COMMAND: could not write WHAT: reason") and
// returns false.
bool outputWritten(const char* command, const char* what);

// A JSON string of bytes read as Windows-1252 (the import preview's reading).
std::string jsonString(const std::string& bytes);
// A JSON string of text: the bytes when they are valid UTF-8, else read as Windows-1252.
std::string jsonText(const std::string& bytes);

int runRecognise(const std::vector<std::string>& args);
int runPoints(const std::vector<std::string>& args);
int runAnalyse(const std::vector<std::string>& args);
int runRender(const std::vector<std::string>& args);
int runConvert(const std::vector<std::string>& args);
int runGuess(const std::vector<std::string>& args);
int runSaveAs(const std::vector<std::string>& args);
int runBatchCommand(const std::vector<std::string>& args);

}  // namespace mivaro::cli

namespace mivaro {
class CXYGraphWnd;
}

namespace mivaro::cli {

// Writes the modulus graph as its window paints it in a client area of
// width x height to path, as PNG, SVG or PDF by its extension. Returns an empty string, or what went wrong.
std::string writeModulusGraphImage(CXYGraphWnd& graph, const std::string& path, int width, int height);

}  // namespace mivaro::cli
