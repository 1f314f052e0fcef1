#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <vector>

namespace mivaro {

// The lines of a project file. A line ends at LF, CR or CR LF (not kept); a
// line end at the very end does not start another line; an empty line is an
// empty entry. At most `limit` lines are taken; `truncated` says whether more
// followed.
std::vector<std::string> readProjectLines(std::istream& in, std::size_t limit, bool& truncated);

}  // namespace mivaro
