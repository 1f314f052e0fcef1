#pragma once

// Generated exports of the instrument formats the tests have no real file
// of, built from the formats' descriptions: a load-hold-unload curve (or
// several cycles) written in each format's layout, with the segment of every
// point known.

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace mivaro::test {

struct GeneratedCurve {
    std::vector<double> forceMn, depthNm, timeS;
    std::string truth;  // the segment letter of every point
};

struct CurveShape {
    int cycles = 1;
    double peakMn = 10;
    int loadPoints = 120, holdPoints = 40, unloadPoints = 100, bottomPoints = 20;
    double noiseMn = 0;       // peak-to-peak, deterministic
    double popInAtShare = 0;  // a depth jump at this share of the peak during the first loading
    bool finalBottomHold = true;
    int finalUnloadPoints = 0;  // after the last bottom hold, down to zero
};

// Loading as F ~ h^2, unloading elastic to 10 % of each cycle's peak; cycles
// rise to (k+1)/cycles of the peak.
inline GeneratedCurve makeCurve(const CurveShape& shape) {
    GeneratedCurve c;
    double t = 0, plastic = 0, popIn = 0;
    unsigned noiseState = 12345;
    const auto noise = [&] {
        noiseState = noiseState * 1103515245u + 12345u;
        return shape.noiseMn * ((static_cast<double>((noiseState >> 16) & 0x7fff) / 32767.0) - 0.5);
    };
    const auto add = [&](double f, double h, char letter) {
        c.forceMn.push_back(f + noise());
        c.depthNm.push_back(h);
        c.timeS.push_back(t += 0.1);
        c.truth += letter;
    };
    double low = 0;
    for (int k = 0; k < shape.cycles; ++k) {
        const double peak = shape.peakMn * (k + 1) / shape.cycles;
        const double hPeak = 100 * std::sqrt(peak);
        for (int i = 1; i <= shape.loadPoints; ++i) {
            const double f = low + (peak - low) * i / shape.loadPoints;
            if (k == 0 && shape.popInAtShare > 0 && popIn == 0 && f >= shape.popInAtShare * peak) {
                popIn = 0.1 * hPeak;
                for (int j = 0; j < 4; ++j) {  // the depth runs ahead, the load stays
                    add(f, 100 * std::sqrt(f) + popIn * (j + 1) / 4, 'L');
                }
            }
            const double h = k == 0 ? 100 * std::sqrt(f) + popIn : plastic + (hPeak - plastic) * (f / peak);
            add(f, std::max(h, 0.0), k == 0 ? 'L' : 'R');
        }
        for (int i = 0; i < shape.holdPoints; ++i) {
            add(peak, hPeak + popIn + 0.01 * i, 'T');
        }
        plastic = 0.6 * (hPeak + popIn);
        low = 0.1 * peak;
        for (int i = 1; i <= shape.unloadPoints; ++i) {
            const double f = peak - (peak - low) * i / shape.unloadPoints;
            add(f, plastic + (hPeak + popIn - plastic) * std::pow(f / peak, 1 / 1.5), 'U');
        }
        if (k + 1 < shape.cycles || shape.finalBottomHold) {
            for (int i = 0; i < shape.bottomPoints; ++i) {
                add(low, c.depthNm.back(), 'B');
            }
        }
        for (int i = 1; k + 1 == shape.cycles && i <= shape.finalUnloadPoints; ++i) {
            const double f = low * (1 - static_cast<double>(i) / shape.finalUnloadPoints);
            add(f, plastic + (hPeak + popIn - plastic) * std::pow(f / peak, 1 / 1.5), 'U');
        }
    }
    return c;
}

inline std::string number(const char* format, double value, char decimalMark = '.') {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    std::string out = text;
    for (char& ch : out) {
        if (ch == '.') {
            ch = decimalMark;
        }
    }
    return out;
}

// TriboScan quasi-static text: blank lines between segments.
inline std::string triboScanText(const GeneratedCurve& c, const std::string& micro, const std::string& eol,
                                 bool blankAfterFirstRow = false) {
    std::string out = "Mon Apr 29 10:41:06 2019" + eol + eol +
                      "Number of Points = " + std::to_string(c.forceMn.size()) + eol + "Depth (nm)\tLoad (" +
                      micro + "N)\tTime (s)\tDepth (V)\tLoad (V)" + eol;
    for (std::size_t i = 0; i < c.forceMn.size(); ++i) {
        if ((i > 0 && c.truth[i] != c.truth[i - 1]) || (blankAfterFirstRow && i == 1)) {
            out += eol;
        }
        out += number("%f", c.depthNm[i]) + "\t" + number("%f", c.forceMn[i] * 1000) + "\t" +
               number("%f", c.timeS[i]) + "\t-0.001\t0.48" + eol;
    }
    return out;
}

// Anton Paar text: Latin-1, comma decimals, SegmentID 0..4.
inline std::string antonPaarText(const GeneratedCurve& c) {
    std::string out =
        "Indentation\r\n   Fmax=\t10,000 \tmN\r\n   HIT(O&P)=\t134,71 \tMPa\r\n   Er=\t2,7611 \tGPa\r\n"
        "   hmax=\t0,3162 \t\xB5m\r\n  Unload Fit [40%,98%]\r\n   Poisson's ratio(nu)=\t0,30 \r\n";
    for (int i = 0; i < 60; ++i) {
        out += "   Setting " + std::to_string(i) + "=\t" + std::to_string(i) + " \t-\r\n";
    }
    out += "Measured values\r\nTime (s)\tPd (nm)\tFn (mN)\tFnRef (mN)\tSegmentID\r\n\r\n";
    for (std::size_t i = 0; i < c.forceMn.size(); ++i) {
        const int id = i + 1 == c.forceMn.size() ? 4 : c.truth[i] == 'L' ? 1 : c.truth[i] == 'T' ? 2 : 3;
        out += number("%.3f", c.timeS[i], ',') + "\t" + number("%.2f", c.depthNm[i], ',') + "\t" +
               number("%.4f", c.forceMn[i], ',') + "\t" + number("%.4f", c.forceMn[i], ',') + "\t" +
               std::to_string(id) + "\r\n";
    }
    return out;
}

// Fischerscope HM2000 text: Latin-1, comma decimals, CR LF in the header, LF
// in the data; one section per indent.
inline std::string fischerscopeText(const std::vector<GeneratedCurve>& indents) {
    std::string out =
        "STEEL.hap\tName of the application\r\nF = ESP n 300.000mN/120s/37s\tTest parameters\r\n"
        "R = 10% 8 Cycles\tCycles\r\n\r\nn\tHIT\tEIT\r\n";
    for (std::size_t k = 0; k < indents.size(); ++k) {
        out += std::to_string(k + 1) + "\t8553,6\t83,7\r\n";
    }
    for (int s = 0; s < 42; ++s) {
        out += "Stat" + std::to_string(s) + "\t1,0\t2,0\r\n";
    }
    for (std::size_t k = 0; k < indents.size(); ++k) {
        out += "STEEL.hap   03.05.2021  10:1" + std::to_string(k % 10) + ":00\r\n";
        out += "x=    44,65  y=     " + std::to_string(6 + k) + ",01\r\n";
        out +=
            "EIT/(1-vs^2)\t[GPa]\t     83,7\r\nHIT\t[N/mm\xB2]\t   8553,6\r\nhr\t[\xB5m]\t    1,053\r\n"
            "hmax\t[\xB5m]\t    1,535\r\nWe\t[\xB5J]\t      0,1\t    79,01%\r\nCompliance\t[\xB5m/N]\t      "
            "1,9\r\n"
            "20,95%  -  95,33% Fmax     Epsilon = 0,750\r\n";
        for (int h = 0; h < 16; ++h) {
            out += "Param" + std::to_string(h) + "\t[-]\t1\r\n";
        }
        out += "F\th\tt\r\n";
        const GeneratedCurve& c = indents[k];
        for (std::size_t i = 0; i < c.forceMn.size(); ++i) {
            out += number("%.3f", c.forceMn[i], ',') + "\t" + number("%.5f", c.depthNm[i] / 1000, ',') +
                   "\t" + number("%.2f", c.timeS[i], ',') + "\n";
        }
    }
    return out;
}

// NanoTest text: no header, time, depth (nm), load (mN).
inline std::string nanoTestText(const GeneratedCurve& c) {
    std::string out;
    for (std::size_t i = 0; i < c.forceMn.size(); ++i) {
        out += number("%f", c.timeS[i]) + "\t" + number("%f", c.depthNm[i]) + "\t" +
               number("%f", c.forceMn[i]) + "\r\n";
    }
    return out;
}

// Hysitron .hld: key lines, a segment table when asked, a drift block, the test block.
inline std::string hldText(const GeneratedCurve& c, bool segmentTable) {
    std::string out =
        "File Version: Hysitron 10.0\r\nTip C0: 24.5 nm^2/nm^2\r\nTip C1: 100 nm^2/nm\r\n"
        "Tip C2: 0 nm^2/nm^0.5\r\nTip C3: 0 nm^2/nm^0.25\r\nTip C4: 0 nm^2/nm^0.125\r\n"
        "Tip C5: 0 nm^2/nm^0.0625\r\nMachine Comp: 0.002 nm/\xB5N\r\nDrift Rate: 0.05 nm/s\r\n";
    if (segmentTable) {
        double begin = 0;
        char previous = 0;
        for (std::size_t i = 0; i < c.truth.size(); ++i) {
            if (c.truth[i] == previous) {
                continue;
            }
            previous = c.truth[i];
            begin = i == 0 ? 0 : c.timeS[i];
            const double from = c.truth[i] == 'L'   ? 0
                                : c.truth[i] == 'U' ? 10000
                                : c.truth[i] == 'T' ? 10000
                                                    : 1000;
            const double to = c.truth[i] == 'L' ? 10000 : c.truth[i] == 'U' ? 1000 : from;
            out += "Segment Begin Time: " + number("%g", begin) +
                   " s\r\nSegment Begin Demand: " + number("%g", from) +
                   " \xB5N\r\nSegment End Demand: " + number("%g", to) + " \xB5N\r\n";
        }
    }
    out += "Drift Measurement Data Points: 3\r\nTime_s\tDisp_nm\r\n0\t1\r\n1\t2\r\n2\t3\r\n";
    out += "Test Data Points: " + std::to_string(c.forceMn.size()) +
           "\r\nTime_s\tDisp_nm\tForce_\xB5N\tLoadCell_nm\r\n";
    for (std::size_t i = 0; i < c.forceMn.size(); ++i) {
        out += number("%f", c.timeS[i]) + "\t" + number("%f", c.depthNm[i]) + "\t" +
               number("%f", c.forceMn[i] * 1000) + "\t0\r\n";
    }
    return out;
}

// Any table with a column-title line: titles, separator and decimal mark given.
inline std::string delimitedText(const GeneratedCurve& c, const std::string& header,
                                 const std::string& titles, char separator, char mark, double depthScale,
                                 double forceScale) {
    std::string out = header + titles + "\n";
    for (std::size_t i = 0; i < c.forceMn.size(); ++i) {
        out += number("%.6g", c.timeS[i], mark) + separator +
               number("%.6g", c.depthNm[i] * depthScale, mark) + separator +
               number("%.6g", c.forceMn[i] * forceScale, mark) + "\n";
    }
    return out;
}

}  // namespace mivaro::test
