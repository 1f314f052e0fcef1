#include "analysis/iso_setup.h"

#include <cmath>
#include <vector>

#include "analysis/indentation_analysis.h"
#include "platform/c_format.h"

namespace mivaro {
namespace {

// The whole text as one finite number.
bool wholeNumber(const std::string& text, double& value) {
    std::size_t used = 0;
    return !text.empty() && scanCDouble(text, value, &used) && used == text.size() && std::isfinite(value);
}

// "LO-HI" with 0 <= LO < HI <= 100.
bool percentRange(const std::string& text, double& lo, double& hi) {
    const std::size_t dash = text.find('-', 1);
    return dash != std::string::npos && wholeNumber(text.substr(0, dash), lo) &&
           wholeNumber(text.substr(dash + 1), hi) && lo >= 0 && lo < hi && hi <= 100;
}

std::string badValue(const std::string& option, const std::string& value, const char* needs) {
    return option + " needs " + needs + ", not " + (value.empty() ? std::string("nothing") : value);
}

}  // namespace

IsoSetup isoSetupFromSettings(const ModulusSettings& s) {
    IsoSetup setup;
    setup.windowLoPct = s.forceMinPercent;
    setup.windowHiPct = s.forceMaxPercent;
    setup.epsilon = textToNumber(s.epsilon);
    setup.nuS = textToNumber(s.Vs);
    setup.nuI = textToNumber(s.Vi);
    setup.eiGPa = textToNumber(s.Ei);
    setup.area = {textToNumber(s.C0), textToNumber(s.C1), 0, 0, 0, 0};
    setup.frameComplianceNmPerMn = textToNumber(s.Cf);
    return setup;
}

std::string applyIsoOption(IsoSetup& setup, const std::string& option, const std::string& value) {
    double number = 0;
    if (option == "--fit") {
        if (value == "document" || value == "lsq") {
            setup.fit = value == "lsq" ? IsoFitMethod::Lsq : IsoFitMethod::Document;
            return {};
        }
        return badValue(option, value, "document or lsq");
    }
    if (option == "--window") {
        return percentRange(value, setup.windowLoPct, setup.windowHiPct)
                   ? std::string()
                   : badValue(option, value, "LO-HI in % of Fmax (0 <= LO < HI <= 100)");
    }
    if (option == kIsoZeroPointOption) {
        setup.zeroPoint = true;
        if (value.empty()) {
            setup.zeroLoPct = 1;
            setup.zeroHiPct = 20;
            return {};
        }
        return percentRange(value, setup.zeroLoPct, setup.zeroHiPct)
                   ? std::string()
                   : badValue(option, value, "LO-HI in % of Fmax (0 <= LO < HI <= 100)");
    }
    if (option == "--epsilon") {
        if (value == "m") {
            setup.epsilonFromExponent = true;
            return {};
        }
        if (wholeNumber(value, number) && number >= 0 && number <= 1) {
            setup.epsilonFromExponent = false;
            setup.epsilon = number;
            return {};
        }
        return badValue(option, value, "a factor from 0 to 1 or m");
    }
    if (option == "--beta") {
        if (wholeNumber(value, number) && number > 0) {
            setup.beta = number;
            return {};
        }
        return badValue(option, value, "a positive factor");
    }
    if (option == "--nu-s" || option == "--nu-i") {
        if (option == "--nu-s" && value == "file") {
            setup.nuSFromFile = true;
            return {};
        }
        if (wholeNumber(value, number) && number > -1 && number < 0.5 + 1e-12) {
            (option == "--nu-s" ? setup.nuS : setup.nuI) = number;
            if (option == "--nu-s") {
                setup.nuSFromFile = false;
            }
            return {};
        }
        return badValue(option, value,
                        option == "--nu-s" ? "a Poisson's ratio from -1 to 0.5 or file"
                                           : "a Poisson's ratio from -1 to 0.5");
    }
    if (option == "--Ei") {
        if (wholeNumber(value, number) && number > 0) {
            setup.eiGPa = number;
            return {};
        }
        return badValue(option, value, "the indenter's modulus in GPa");
    }
    if (option == "--area") {
        if (value == "file") {
            setup.areaFromFile = true;
            return {};
        }
        std::vector<double> coefficients;
        std::size_t from = 0;
        while (from <= value.size()) {
            const std::size_t comma = std::min(value.find(',', from), value.size());
            if (!wholeNumber(value.substr(from, comma - from), number)) {
                coefficients.clear();
                break;
            }
            coefficients.push_back(number);
            from = comma + 1;
        }
        if (coefficients.size() >= 2 && coefficients.size() <= 6) {
            setup.area = {0, 0, 0, 0, 0, 0};
            std::copy(coefficients.begin(), coefficients.end(), setup.area.begin());
            setup.areaFromFile = false;
            return {};
        }
        return badValue(option, value, "two to six coefficients C0,C1[,C2,C3,C4,C5] or file");
    }
    if (option == "--frame-compliance") {
        if (value == "file") {
            setup.complianceFromFile = true;
            return {};
        }
        if (wholeNumber(value, number) && number >= 0) {
            setup.frameComplianceNmPerMn = number;
            setup.complianceFromFile = false;
            return {};
        }
        return badValue(option, value, "a compliance in nm/mN or file");
    }
    if (option == "--drift") {
        if (value == "hold") {
            setup.drift = IsoDrift::Hold;
            return {};
        }
        if (value == "file") {
            setup.drift = IsoDrift::File;
            return {};
        }
        if (wholeNumber(value, number)) {
            setup.drift = IsoDrift::Rate;
            setup.driftNmPerS = number;
            return {};
        }
        return badValue(option, value, "a rate in nm/s, hold or file");
    }
    return "unknown option " + option;
}

bool needsFileMetadata(const IsoSetup& setup) {
    return setup.nuSFromFile || setup.areaFromFile || setup.complianceFromFile ||
           setup.drift == IsoDrift::File;
}

std::string resolveFromFile(IsoSetup& setup, const recognise::KnownMetadata& known) {
    std::vector<std::string> missing;
    if (setup.nuSFromFile) {
        if (known.poissonRatio) {
            setup.nuS = *known.poissonRatio;
        } else {
            missing.push_back("Poisson's ratio (--nu-s file)");
        }
    }
    if (setup.areaFromFile) {
        if (known.areaCoefficients && known.areaCoefficients->size() == 6) {
            std::copy(known.areaCoefficients->begin(), known.areaCoefficients->end(), setup.area.begin());
        } else {
            missing.push_back("tip area coefficients (--area file)");
        }
    }
    if (setup.complianceFromFile) {
        if (known.frameComplianceNmPerMn) {
            setup.frameComplianceNmPerMn = *known.frameComplianceNmPerMn;
        } else {
            missing.push_back("frame compliance (--frame-compliance file)");
        }
    }
    if (setup.drift == IsoDrift::File) {
        setup.driftAppliedByInstrument = known.depthDriftCorrected;
        if (known.driftNmPerS) {
            setup.driftNmPerS = *known.driftNmPerS;
        } else if (!known.depthDriftCorrected) {
            missing.push_back("drift rate (--drift file)");
        }
    }
    if (missing.empty()) {
        return {};
    }
    std::string text = "The file gives no ";
    for (std::size_t k = 0; k < missing.size(); ++k) {
        text += k == 0 ? "" : (k + 1 == missing.size() ? " and no " : ", no ");
        text += missing[k];
    }
    return text + ".";
}

const char* isoFitName(IsoFitMethod method) {
    return method == IsoFitMethod::Lsq ? "lsq" : "document";
}

std::string isoDriftSourceName(const IsoSetup& setup) {
    switch (setup.drift) {
        case IsoDrift::Rate:
            return "rate";
        case IsoDrift::Hold:
            return "hold";
        case IsoDrift::File:
            return setup.driftAppliedByInstrument ? "instrument" : "file";
        case IsoDrift::Off:
            break;
    }
    return "off";
}

}  // namespace mivaro
