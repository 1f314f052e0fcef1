#pragma once

#include <string>

#include "curves/curve_types.h"
#include "platform/safe_file_write.h"  // readWholeFile, writeFileAtomically

namespace mivaro {

inline constexpr const char* kOpenSetupFileName = "MivaroOpenSetup.par";
inline constexpr const char* kMachineSetupFileName = "setup.par";

// "MivaroOpenSetup.par": the twelve ColumnSetup values, one a line, each read
// after skipping white space; line 8 holds the other separator text, of which
// the reader uses the first character.
//
// The file is taken all or nothing: when it is missing, truncated, holds
// something that is not a number where a number belongs, or a separator kind
// outside 0..3 (no separator character is defined for it), readOpenSetup
// returns false and leaves setup unchanged, as for a missing file. A blank
// line 8 stands for a space instead of shifting the later values up a line.
// otherSeparatorText (optional) receives the whole text of line 8.
bool readOpenSetup(const std::string& settingsDirectory, ColumnSetup& setup,
                   std::string* otherSeparatorText = nullptr);

// Parses the text of an "MivaroOpenSetup.par" file; same rules as above.
bool parseOpenSetup(const std::string& text, ColumnSetup& setup, std::string* otherSeparatorText = nullptr);

// Writes "MivaroOpenSetup.par" ("%d\n", line 8 "%s\n") through a temporary
// file and a rename. Line 8 is the text from its first visible character up
// to the next white space; a text of white space only (or none) would read
// back as a shifted file, so it is written as the single character of
// setup.otherSeparator, or "_" when that is not visible either. Returns false
// when the file could not be written; the previous file is then untouched.
bool writeOpenSetup(const std::string& settingsDirectory, const ColumnSetup& setup,
                    const std::string& otherSeparatorText);

// "setup.par": the force instability in mN, one value written "%f\n". Returns
// false (value unchanged) when the file is missing or does not start with a
// finite number.
bool readForceInstability(const std::string& settingsDirectory, float& value);
bool parseForceInstability(const std::string& text, float& value);

// Writes "setup.par" with "%f\n" through a temporary file and a rename;
// returns false when it cannot be written.
bool writeForceInstability(const std::string& settingsDirectory, float value);

}  // namespace mivaro
