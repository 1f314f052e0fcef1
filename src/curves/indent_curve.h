#pragma once

#include <string>
#include <vector>

#include "curves/curve_types.h"

namespace mivaro {

// The document's working curve: the points of the file read last (double
// precision), the list of curve file paths and the settings the reader uses.
struct IndentCurve {
    static constexpr int kNameCapacity = 2000;

    std::string settingsDirectory;  // ends with '/'; every .par file lives here
    bool fileDialogAccepted = false;
    ColumnSetup columnSetup = kStandardColumnSetup;
    std::string currentFilePath;
    bool offerStandardFiles = true;  // filter choice of the curve file dialog
    float forceInstability = 0.5f;   // mN, from "setup.par"

    std::vector<std::string> names;  // curve file paths in load order, at most kNameCapacity

    // Points of the file read last: depth nm, force mN, time s, segment letter.
    std::vector<double> depth;
    std::vector<double> force;
    std::vector<double> time;
    std::vector<char> segment;

    IndentationResults results;

    int nameCount() const { return static_cast<int>(names.size()); }
    int pointCount() const { return static_cast<int>(depth.size()); }
    std::string settingsFile(const std::string& fileName) const { return settingsDirectory + fileName; }
};

}  // namespace mivaro
