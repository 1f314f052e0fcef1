#pragma once

#include <string>

namespace mivaro {

// Values of the "Elastic Modulus and Poisson's Ratio Calculation" dialog and
// its "Advanced " dialog, kept as typed.
struct ModulusSettings {
    std::string C0 = "24.56";
    std::string C1 = "0.0";
    std::string Es = "70.0";
    std::string Vs = "0.17";
    std::string Ei = "1141.0";
    std::string Vi = "0.07";
    int solveFor = 0;  // 0 Es, 1 Vs, 2 Ei, 3 Vi
    float forceMinPercent = 50;
    float forceMaxPercent = 100;
    std::string Cf = "0.0";
    std::string epsilon = "0.0";
    int zeroStartDepth = 0;
    std::string topPercent = "95";
    std::string bottomPercent = "20";
    std::string sectionSizePercent = "15";

    bool operator==(const ModulusSettings&) const = default;
};

// Values of the "Hardness" dialog.
struct HardnessSettings {
    std::string C0 = "24.56";
    std::string C1 = "0.0";
    std::string D0 = "26.44";
    std::string D1 = "0.0";
    std::string Cf = "0.0";
    int formula = -1;  // 0 HM, 1 HV, 2 HRA, -1 none chosen
    std::string epsilon = "0.0";
    int includeHoldTime = 0;

    bool operator==(const HardnessSettings&) const = default;
};

inline constexpr const char* kModulusSettingsFile = "curve_setup.par";
inline constexpr const char* kHardnessSettingsFile = "hardness_setup.par";

// Reads the file when it exists; values it lacks keep their defaults.
ModulusSettings readModulusSettings(const std::string& settingsDirectory);
HardnessSettings readHardnessSettings(const std::string& settingsDirectory);
// The same from a file's text.
ModulusSettings parseModulusSettings(const std::string& content);
HardnessSettings parseHardnessSettings(const std::string& content);

// Writes the file through a temporary file; returns false (and leaves any
// previous file intact) when it cannot be written.
bool writeModulusSettings(const std::string& settingsDirectory, const ModulusSettings& settings);
bool writeHardnessSettings(const std::string& settingsDirectory, const HardnessSettings& settings);

// The text as the file stores it: the first word only, since values are read
// back word by word ("0" for a blank text so the lines after it stay in place).
std::string settingsWord(const std::string& text);

}  // namespace mivaro
