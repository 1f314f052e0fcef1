// Converting test-machine exports to standard curve files as `mivaro-cli
// convert` does: 100 generated tab-separated exports of 20 000 lines each
// (depth in nm, force in uN), beside a straightforward getline + strtod
// reader with one fprintf per point, in the same run. Both write their own
// copies; the setup checks once that the two outputs are byte for byte equal.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_messages.h"
#include "curves/assign_segments.h"
#include "curves/curve_conversion.h"
#include "curves/settings_files.h"
#include "platform/c_format.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 100;
constexpr int kLines = 20000;

mivaro::ColumnSetup exportSetup() {
    return {1, 1, 2, 0, 0, 0, 1, ';', 0, 1, 0, 3};
}

struct Exports {
    fs::path directory;
    std::vector<std::string> paths;
    std::int64_t bytes = 0;

    Exports() {
        directory = fs::temp_directory_path() / ("mivaro_convert_bench_" + std::to_string(::getpid()));
        fs::create_directories(directory);
        mivaro::writeOpenSetup(directory.string(), exportSetup(), ";");
        for (int f = 0; f < kFiles; ++f) {
            const fs::path path = directory / ("export_" + std::to_string(f) + ".txt");
            std::string text = "Depth (nm)\tLoad (\xB5N)\tTime (s)\tDepth (V)\tLoad (V)\n";
            for (int k = 0; k < kLines; ++k) {
                // Loading, hold and unloading of a curve with a little noise.
                const double t = k * 0.005005;
                const double phase = static_cast<double>(k) / kLines;
                const double force = phase < 0.45   ? 3000 * phase / 0.45
                                     : phase < 0.55 ? 3000 + std::sin(k) * 0.5
                                                    : 3000 * (1 - phase) / 0.45;
                const double depth = 20 + std::sqrt(force) * 4.1 + (f + 1) * 0.37 + std::cos(k) * 0.2;
                text += mivaro::formatC("%.6f\t%.6f\t%.6f\t%.6f\t%.6f\n", depth, force, t,
                                        -0.001850 - phase * 1e-3, 0.481918 + phase);
            }
            std::ofstream(path, std::ios::binary) << text;
            bytes += static_cast<std::int64_t>(text.size());
            paths.push_back(path.string());
        }
    }
    ~Exports() {
        std::error_code ignored;
        fs::remove_all(directory, ignored);
    }
};

const Exports& exports() {
    static const Exports files;
    return files;
}

// What `convert` does: the conversion pass over the name list.
void convertAsProgram(const Exports& files) {
    SilentMessages messages;
    mivaro::IndentCurve curve;
    curve.settingsDirectory = files.directory.string() + "/";
    curve.names = files.paths;
    const mivaro::ConversionReport report = mivaro::convertCurveFiles(curve, messages);
    if (report.written.size() != files.paths.size()) {
        std::abort();
    }
}

const char* labelOf(char letter) {
    switch (letter) {
        case 'L':
            return "LOAD";
        case 'T':
            return "TOP_HOLD";
        case 'U':
            return "UNLOAD";
        case 'B':
            return "BUTTOM_HOLD";
        case 'R':
            return "RELOAD";
        default:
            return nullptr;
    }
}

// The straightforward way: getline, strtod at each column, fprintf per point.
void convertPlainly(const std::string& path, const std::string& output) {
    const mivaro::ColumnSetup setup = exportSetup();
    std::ifstream in(path);
    std::string line;
    for (int k = 0; k < setup.headerLines && std::getline(in, line); ++k) {
    }
    mivaro::IndentCurve curve;
    while (std::getline(in, line)) {
        if (line.size() <= 3) {
            continue;
        }
        const char* p = line.c_str();
        double values[3] = {0, 0, 0};
        for (int column = 1, wanted = 0; wanted < 3 && p != nullptr; ++column) {
            const int target = wanted == 0   ? setup.displacementColumn
                               : wanted == 1 ? setup.forceColumn
                                             : setup.timeColumn;
            if (column == target) {
                values[wanted++] = std::strtod(p, nullptr);
            }
            p = std::strchr(p, '\t');
            if (p != nullptr) {
                ++p;
            }
        }
        const double depth = values[0];  // nm
        if (depth > 0) {
            curve.depth.push_back(depth);
            curve.force.push_back(values[1] * 0.001);
            curve.time.push_back(values[2]);
            curve.segment.push_back('X');
        }
    }
    mivaro::AssignSegments(curve);
    std::FILE* out = std::fopen(output.c_str(), "wb");
    std::fputs("Depth(um),Force(mN),Time(s),Segment\r\n", out);
    const char* label = "NONE";
    for (std::size_t i = 0; i < curve.depth.size(); ++i) {
        if (const char* own = labelOf(curve.segment[i])) {
            label = own;
        }
        std::fprintf(out, "%e,%e,%f,%s\r\n", curve.depth[i] * 0.001, curve.force[i], curve.time[i], label);
    }
    std::fclose(out);
}

std::string baselineOutput(const std::string& path) {
    return path.substr(0, path.size() - 4) + "_baseline.out";
}

void checkIdentical(const Exports& files) {
    static bool checked = false;
    if (checked) {
        return;
    }
    checked = true;
    convertAsProgram(files);
    for (const std::string& path : files.paths) {
        convertPlainly(path, baselineOutput(path));
        std::string ours;
        std::string theirs;
        mivaro::readWholeFile(mivaro::importOutputPath(path), ours);
        mivaro::readWholeFile(baselineOutput(path), theirs);
        if (ours != theirs || ours.size() < 1000) {
            std::fprintf(stderr, "outputs differ for %s\n", path.c_str());
            std::abort();
        }
    }
}

void BM_ConvertAsProgram(benchmark::State& state) {
    const Exports& files = exports();
    checkIdentical(files);
    for (auto _ : state) {
        convertAsProgram(files);
    }
    state.SetBytesProcessed(state.iterations() * files.bytes);
}

void BM_ConvertGetlineStrtodFprintf(benchmark::State& state) {
    const Exports& files = exports();
    checkIdentical(files);
    for (auto _ : state) {
        for (const std::string& path : files.paths) {
            convertPlainly(path, baselineOutput(path));
        }
    }
    state.SetBytesProcessed(state.iterations() * files.bytes);
}

BENCHMARK(BM_ConvertAsProgram)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ConvertGetlineStrtodFprintf)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
