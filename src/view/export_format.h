#pragma once

#include <optional>
#include <string_view>

namespace mivaro {

// The file formats the graph is exported in, chosen by the file's extension
// (any case): ".png" a picture as the window shows it, ".svg" and ".pdf"
// vector drawings whose lines and text stay sharp at any zoom.
enum class ExportFormat { Png, Svg, Pdf };

std::optional<ExportFormat> exportFormatOf(std::string_view path);

}  // namespace mivaro
