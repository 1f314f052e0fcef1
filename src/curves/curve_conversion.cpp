#include "curves/curve_conversion.h"

#include <filesystem>

#include "curves/curve_reader.h"
#include "curves/curve_writer.h"
#include "platform/c_format.h"

namespace mivaro {
namespace {

std::size_t nameStart(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

// Two spellings of one file ("./a.MVR", "a.MVR") are one name.
std::string comparable(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

// Lists the entries under a lead sentence, at most a screenful of them.
void report(MessagePort& messages, const std::string& lead, const std::vector<std::string>& lines,
            const char* caption) {
    if (lines.empty()) {
        return;
    }
    constexpr std::size_t kShown = 20;
    std::string text = lead;
    for (std::size_t k = 0; k < lines.size() && k < kShown; ++k) {
        text += "\n" + lines[k];
    }
    if (lines.size() > kShown) {
        text += formatC("\n(and %zu more)", lines.size() - kShown);
    }
    messages.showMessage(text, caption, MessageButtons::Ok);
}

}  // namespace

std::string fileTitle(const std::string& path) {
    const std::string name = path.substr(nameStart(path));
    return name.substr(0, name.find('.'));
}

std::string importOutputPath(const std::string& path) {
    const std::size_t start = nameStart(path);
    const std::size_t dot = path.find('.', start);
    return path.substr(0, dot) + ".MVR";
}

std::string claimOutputPath(const std::string& wanted, std::set<std::string>& taken) {
    std::string path = wanted;
    if (!taken.insert(comparable(path)).second) {
        // Only ".MVR" names come here; the number goes before the extension.
        const std::string stem = wanted.substr(0, wanted.size() - 4);
        for (int n = 2;; ++n) {
            path = stem + "_" + std::to_string(n) + ".MVR";
            if (taken.insert(comparable(path)).second) {
                break;
            }
        }
    }
    return path;
}

ConversionReport convertCurveFiles(IndentCurve& curve, MessagePort& messages) {
    ConversionReport result;
    // Outputs of sources other than the output itself: a second such source
    // mapping to one of them gets a numbered name. A standard curve file
    // that is rewritten in place claims nothing, so converting its export
    // again replaces it instead of adding a "_2" file beside it.
    std::set<std::string> taken;
    std::set<std::string> listed;  // comparable forms of the standard files in the new list
    std::vector<std::string> renamed;
    std::vector<std::string> notWritten;
    std::vector<std::string> kept;
    const std::vector<std::string> entries = curve.names;
    for (const std::string& source : entries) {
        // One pass over the file: the arrays grow as they go instead of being
        // sized by a line count first.
        const ReadOutcome outcome = readCurveFile(curve, source, messages, 0);
        if (outcome == ReadOutcome::ColumnError) {
            result.columnError = true;  // reported; the file leaves the list
            continue;
        }
        if (outcome == ReadOutcome::NotOpened) {
            kept.push_back(source);  // the loading pass reports it; nothing is written for it
            continue;
        }
        const std::string wanted = importOutputPath(source);
        const bool inPlace = comparable(wanted) == comparable(source);
        const std::string output = inPlace ? wanted : claimOutputPath(wanted, taken);
        std::string error;
        if (!writeStandardCurveFile(output, curve, error)) {
            notWritten.push_back(source + "\n    " + error);
            kept.push_back(source);
            continue;
        }
        if (output != wanted) {
            renamed.push_back(source + "\n    -> " + output);
        }
        // A file written twice (rewritten in place, then replaced) is listed once.
        if (listed.insert(comparable(output)).second) {
            kept.push_back(output);
            result.written.push_back(output);
        }
    }
    curve.names.assign(kept.begin(), kept.end());  // keeps the list's reserved room
    report(messages,
           "These files would have been converted to the same standard curve file as an earlier one; "
           "each was saved under another name:",
           renamed, "Message");
    report(messages,
           "These standard curve files could not be written; the curves are read from their own files "
           "instead:",
           notWritten, "Error");
    return result;
}

std::vector<std::string> saveCurveFilesAs(IndentCurve& curve, const std::string& chosenPath,
                                          MessagePort& messages) {
    std::vector<std::string> written;
    const std::vector<std::string> entries = curve.names;
    if (entries.empty()) {
        return written;
    }
    const std::string chosenTitle = fileTitle(chosenPath);
    const std::size_t start = nameStart(chosenPath);
    const std::string folder = chosenPath.substr(0, start);
    std::set<std::string> taken;
    for (const std::string& entry : entries) {
        const std::string sourceTitle = fileTitle(entry);
        std::string wanted = folder + chosenTitle;
        if (sourceTitle != chosenTitle) {
            wanted += "_" + sourceTitle;
        }
        wanted += ".MVR";
        const std::string output = claimOutputPath(wanted, taken);
        if (output != wanted) {
            messages.showMessage("Another curve of this set is saved as " + wanted + "; this one (" + entry +
                                     ") is saved beside it under another name.",
                                 "Message", MessageButtons::Ok);
        }
        messages.showMessage(output, kFileSavedAsCaption, MessageButtons::Ok);

        const ReadOutcome outcome = readCurveFile(curve, entry, messages);
        if (outcome == ReadOutcome::ColumnError) {
            break;
        }
        if (outcome == ReadOutcome::NotOpened) {
            messages.showMessage("The file was not saved: this curve file could not be read:\n" + entry,
                                 "Error", MessageButtons::Ok);
            continue;
        }
        std::string error;
        if (!writeStandardCurveFile(output, curve, error)) {
            messages.showMessage("The file was not saved. " + error, "Error", MessageButtons::Ok);
            continue;
        }
        written.push_back(output);
    }
    // The re-reads are for writing only: a column error does not cost the
    // user the list of curves on screen.
    curve.names = entries;
    return written;
}

}  // namespace mivaro
