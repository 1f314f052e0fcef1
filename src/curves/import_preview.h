#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "curves/curve_types.h"

namespace mivaro {

// What the import setup dialog shows of the sample: the text with line
// prefixes and column markers, and the four columns the column numbers pick.
// Every text has CR LF line ends; a column that does not look right is "?????".
struct ImportPreview {
    std::string text;
    std::string displacement;
    std::string force;
    std::string time;
    std::string segment;

    bool operator==(const ImportPreview&) const = default;
};

// The column setup the import dialog starts with before any
// "MivaroOpenSetup.par" exists.
inline constexpr ColumnSetup kImportInitialSetup{1, 0, 0, 0, 0, 0, 0, ';', 0, 1, 0, 0};

// The state of the "Import Indentation Test Data Text File Setup" dialog; the
// document keeps it from one import to the next.
struct ImportDialogState {
    std::string rawText;  // the first characters of the previewed file, as bytes
    ColumnSetup setup = kImportInitialSetup;
    std::string otherSeparatorText = ";";  // the preview splits at the whole text
    ImportPreview preview;

    // What the instrument-file recogniser makes of the previewed file.
    std::string recognition;       // the line under the preview; empty when not asked
    bool recognisable = false;     // a format claims the file: "Recognise" is offered
    bool useRecogniser = false;    // "Recognise" was pressed: OK converts through the recogniser
    int recognisedDepthUnit = -1;  // setup values of the file's units, -1 when not known
    int recognisedForceUnit = -1;

    bool operator==(const ImportDialogState&) const = default;
};

// Five characters put where a separator was: two spaces, code 127, two spaces.
inline constexpr std::string_view kColumnMarker{"  \x7f  ", 5};
inline constexpr const char* kFlaggedColumn = "?????";
inline constexpr std::size_t kPreviewCharacters = 3999;
inline constexpr const char* kFileNotOpened = "File already open";

// Every carriage return and every line feed becomes CR LF.
std::string normaliseLineEnds(std::string_view raw);

// The preview of the dialog state; reads no file.
ImportPreview buildImportPreview(const ImportDialogState& state);

// "Guess": separator, decimal mark, column numbers, header line count and
// units from the sample itself, then the preview of the result.
void guessImportSetup(ImportDialogState& state);

// The first kPreviewCharacters characters of a file as text mode gives them
// (a CR LF pair is one line feed). False with the system's reason when the
// file cannot be opened or read.
bool readPreviewText(const std::string& path, std::string& text, std::string& reason);

// The dialog state from "MivaroOpenSetup.par" of the settings directory, all
// twelve values, line 8 as a whole word; left as it is when the file is
// missing or unusable.
bool loadImportSetup(const std::string& settingsDirectory, ImportDialogState& state);

// The dialog: a copy of the state in, the accepted state out (nothing on Cancel).
class ImportSetupDialogPort {
  public:
    virtual ~ImportSetupDialogPort() = default;
    virtual std::optional<ImportDialogState> askImportSetup(const ImportDialogState& state) = 0;
};

}  // namespace mivaro
