#include "curves/curve_file_dialog.h"

namespace mivaro {

OpenFileRequest curveFileDialogRequest(bool offerStandardFiles) {
    OpenFileRequest request;
    request.title = "Select Indentation Curves";
    if (offerStandardFiles) {
        request.filters.push_back({"Standard Curve Files (*.MVR)", {"*.MVR"}});
    } else {
        request.filters.push_back({"Import Curve Files (*.CSV *.TXT)", {"*.CSV", "*.TXT"}});
        // Test machines export under names of their own (.hld, .dat, ...).
        request.filters.push_back({"All Files (*)", {"*"}});
    }
    request.defaultExtension = ".csv";
    request.multiSelect = true;
    return request;
}

}  // namespace mivaro
