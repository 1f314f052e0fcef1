#include "view/export_format.h"

#include <cctype>
#include <string>

namespace mivaro {

std::optional<ExportFormat> exportFormatOf(std::string_view path) {
    const auto dot = path.find_last_of('.');
    const auto slash = path.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return std::nullopt;
    }
    std::string extension;
    for (char c : path.substr(dot + 1)) {
        extension += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (extension == "png") {
        return ExportFormat::Png;
    }
    if (extension == "svg") {
        return ExportFormat::Svg;
    }
    if (extension == "pdf") {
        return ExportFormat::Pdf;
    }
    return std::nullopt;
}

}  // namespace mivaro
