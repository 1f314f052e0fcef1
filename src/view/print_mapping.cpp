#include "view/print_mapping.h"

#include <algorithm>

namespace mivaro {

PrintScale printScale(int clientWidth, int clientHeight, double dpiX, double dpiY, int pageWidth,
                      int pageHeight) {
    PrintScale scale;
    scale.x = kPrintDeviceWidth / kPrintLogicalWidth * dpiX / kPrintDeviceDpi;
    scale.y = kPrintDeviceHeight / kPrintLogicalHeight * dpiY / kPrintDeviceDpi;
    const double width = clientWidth * scale.x;
    const double height = clientHeight * scale.y;
    double shrink = 1;
    if (width > pageWidth && width > 0) {
        shrink = std::min(shrink, pageWidth / width);
    }
    if (height > pageHeight && height > 0) {
        shrink = std::min(shrink, pageHeight / height);
    }
    scale.x *= shrink;
    scale.y *= shrink;
    return scale;
}

}  // namespace mivaro
