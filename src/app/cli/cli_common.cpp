#include "app/cli/cli_common.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/c_format.h"
#include "platform/text_encoding.h"

namespace mivaro::cli {

MessageAnswer StderrMessages::showMessage(const std::string& text, const std::string& caption,
                                          MessageButtons buttons) {
    m_shown = true;
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

void StderrMessages::report(const std::string& line) {
    m_shown = true;
    std::fprintf(stderr, "%s\n", line.c_str());
}

bool parseImageSize(const std::string& text, int& width, int& height) {
    const std::size_t cross = text.find('x');
    if (cross == std::string::npos) {
        return false;
    }
    const auto side = [](const std::string& digits, int& value) {
        std::size_t used = 0;
        return !digits.empty() && std::isdigit(static_cast<unsigned char>(digits[0])) &&
               scanCInt(digits, value, &used) && used == digits.size() && value > 0 && value <= kMaxImageSide;
    };
    int w = 0;
    int h = 0;
    if (!side(text.substr(0, cross), w) || !side(text.substr(cross + 1), h)) {
        return false;
    }
    width = w;
    height = h;
    return true;
}

std::string asSettingsDirectory(const std::string& directory) {
    if (directory.empty()) {
        return "./";
    }
    return directory.back() == '/' ? directory : directory + "/";
}

std::string CommandLine::value(const std::string& option, const std::string& fallback) const {
    const auto found = values.find(option);
    return found == values.end() ? fallback : found->second;
}

std::string parseCommandLine(const std::vector<std::string>& args,
                             const std::vector<std::string>& valueOptions, CommandLine& parsed,
                             const std::vector<std::string>& flagOptions) {
    bool options = true;
    for (std::size_t k = 0; k < args.size(); ++k) {
        const std::string& arg = args[k];
        const bool takesValue =
            std::find(valueOptions.begin(), valueOptions.end(), arg) != valueOptions.end();
        if (options && arg == "--") {
            options = false;
        } else if (options && std::find(flagOptions.begin(), flagOptions.end(), arg) != flagOptions.end()) {
            parsed.values[arg].clear();
        } else if (options && takesValue) {
            if (k + 1 >= args.size()) {
                return arg + " needs a value";
            }
            parsed.values[arg] = args[++k];
            if (parsed.values[arg].empty() && arg != "--label") {
                return arg + " needs a value, not an empty one";
            }
        } else if (options && arg.size() > 1 && arg[0] == '-') {
            return "unknown option " + arg;
        } else {
            parsed.files.push_back(arg);
        }
    }
    if (parsed.files.empty()) {
        return "no curve file given";
    }
    std::error_code ec;
    const auto settings = parsed.values.find("--settings");
    if (settings != parsed.values.end() && !std::filesystem::is_directory(settings->second, ec)) {
        return "the settings folder " + settings->second + " does not exist";
    }
    return {};
}

bool parseIntPair(const std::string& text, char separator, int& first, int& second) {
    const std::size_t at = text.find(separator);
    if (at == std::string::npos) {
        return false;
    }
    auto number = [](const std::string& part, int& value) {
        std::size_t used = 0;
        return !part.empty() && std::isdigit(static_cast<unsigned char>(part[0])) &&
               scanCInt(part, value, &used) && used == part.size();
    };
    return number(text.substr(0, at), first) && number(text.substr(at + 1), second);
}

int usageError(const char* command, const std::string& why, const char* usage) {
    std::fprintf(stderr, "mivaro-cli %s: %s\n", command, why.c_str());
    std::fputs(usage, stderr);
    return kExitUsage;
}

namespace {
int g_outputError = 0;  // errno of the first failed write to standard output
}

void writeOut(std::string_view text) {
    if (g_outputError != 0 || text.empty()) {
        return;
    }
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) {
        g_outputError = errno != 0 ? errno : EIO;
    }
}

bool outputWritten(const char* command, const char* what) {
    if (g_outputError == 0) {
        errno = 0;
        if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
            g_outputError = errno != 0 ? errno : EIO;
        }
    }
    if (g_outputError == 0) {
        return true;
    }
    std::fprintf(stderr, "mivaro-cli %s: could not write %s: %s\n", command, what,
                 std::strerror(g_outputError));
    return false;
}

std::unique_ptr<LoadedDocument> loadDocument(const char* command, const std::string& settingsDirectory,
                                             const std::vector<std::string>& files) {
    auto loaded = std::make_unique<LoadedDocument>();
    loaded->doc = std::make_unique<CMivaro4Doc>(asSettingsDirectory(settingsDirectory), loaded->messages,
                                                loaded->repaint);
    loaded->doc->setListsUnreadableFiles(false);
    loaded->doc->appendPaths(files);
    loaded->doc->rebuildCurveSet();
    for (const auto& unreadable : loaded->doc->unreadableFiles()) {
        loaded->messages.report(std::string("mivaro-cli ") + command + ": cannot read " + unreadable.path +
                                ": " + unreadable.reason);
    }
    return loaded;
}

namespace {

// Bytes already in UTF-8 as a JSON string: quotes, backslashes and control
// characters escaped.
std::string jsonEscaped(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (u < 0x20 || u == 0x7F) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

}  // namespace

std::string jsonString(const std::string& bytes) {
    return jsonEscaped(windows1252ToUtf8(bytes));
}

std::string jsonText(const std::string& bytes) {
    return jsonEscaped(displayTextUtf8(bytes));
}

}  // namespace mivaro::cli
