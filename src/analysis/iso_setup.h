#pragma once

// The analysis setup of the instrument-grade results: which fit, which force
// window, the contact-depth factor, the materials, the tip's area function,
// the frame compliance and the two depth corrections. Defaults come from the
// modulus dialog's settings; command-line options and the instrument file's
// metadata replace them. Every value ends up in the row's provenance columns.

#include <array>
#include <string>

#include "analysis/analysis_settings.h"
#include "curves/recognise/recognised_file.h"

namespace mivaro {

enum class IsoFitMethod {
    Document,  // the program's FitPowerLaw over the dialog's force range
    Lsq,       // least squares in linear force, started from the document fit
};

enum class IsoDrift {
    Off,
    Rate,  // a given rate
    Hold,  // measured on the hold at minimum force
    File,  // the instrument file's rate
};

struct IsoSetup {
    IsoFitMethod fit = IsoFitMethod::Lsq;
    double windowLoPct = 50;  // force window of the unloading fit, % of Fmax
    double windowHiPct = 100;
    bool epsilonFromExponent = false;  // ε(m) of the fitted exponent instead of epsilon
    double epsilon = 0.75;
    double beta = 1;
    double nuS = 0.17;
    double nuI = 0.07;
    double eiGPa = 1141;
    // Ap(hc) = C0 hc^2 + C1 hc + C2 hc^(1/2) + C3 hc^(1/4) + C4 hc^(1/8) + C5 hc^(1/16), nm and nm^2
    std::array<double, 6> area{24.56, 0, 0, 0, 0, 0};
    double frameComplianceNmPerMn = 0;
    bool zeroPoint = false;
    double zeroLoPct = 1;  // loading range of the contact-point fit, % of Fmax
    double zeroHiPct = 20;
    IsoDrift drift = IsoDrift::Off;
    double driftNmPerS = 0;  // the rate of IsoDrift::Rate, or the file's once resolved
    // The instrument's depths already hold its drift correction: nothing is subtracted again.
    bool driftAppliedByInstrument = false;
    // Values asked for as "file": taken from the instrument file's metadata by resolveFromFile.
    bool nuSFromFile = false;
    bool areaFromFile = false;
    bool complianceFromFile = false;
};

// The setup the modulus dialog's values give (force range, ε, C0, C1, Vs, Vi,
// Ei, frame compliance); the rest at its defaults.
IsoSetup isoSetupFromSettings(const ModulusSettings& settings);

// The options of the instrument-grade results, by their command-line names,
// each followed by a value ("--zero-point" may have an empty value: the
// default range).
inline constexpr const char* kIsoValueOptions[] = {
    "--fit", "--window", "--epsilon",          "--beta", "--nu-s", "--nu-i",
    "--Ei",  "--area",   "--frame-compliance", "--drift"};
inline constexpr const char* kIsoZeroPointOption = "--zero-point";

// Sets one option's value; returns an empty string, or what is wrong with the
// value (for the user: names the option and the value).
std::string applyIsoOption(IsoSetup& setup, const std::string& option, const std::string& value);

// True when some value waits for the file's metadata.
bool needsFileMetadata(const IsoSetup& setup);

// Takes the values asked for as "file" from the file's metadata (converted to
// nm and mN by the recogniser). Returns an empty string, or which value the
// file does not give; the setup keeps its other values either way.
std::string resolveFromFile(IsoSetup& setup, const recognise::KnownMetadata& known);

// The fit method's word: "document" or "lsq".
const char* isoFitName(IsoFitMethod method);
// "off", "rate", "hold", "file" or "instrument" (the file's depths are already corrected).
std::string isoDriftSourceName(const IsoSetup& setup);

}  // namespace mivaro
