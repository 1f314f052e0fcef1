// Recognising and converting instrument exports, as `convert --recognise`
// does, beside the setup's road (`convert` with a hand-written setup) on the
// same 1 000 generated TriboScan files in the same run; and the two real
// containers (the 39-indent NanoTest archive, the 9-test workbook) when the
// shared exports are at hand. Counters: files (and indents) per second.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "bench_messages.h"
#include "curves/curve_conversion.h"
#include "curves/recognise/recognised_conversion.h"
#include "curves/recognise/recogniser.h"
#include "curves/settings_files.h"
#include "platform/c_format.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 1000;
constexpr int kPoints = 1200;

// Header 4, depth column 1 in nm, load column 2 in uN, tab, time column 3.
mivaro::ColumnSetup triboScanSetup() {
    return {4, 1, 2, 0, 0, 0, 1, ';', 0, 1, 0, 3};
}

// A TriboScan quasi-static export: loading, hold, unloading, blank lines between.
std::string triboScanText(int file) {
    std::string text = "12/09/2026 03:00:00\n\nNumber of Points = " + std::to_string(kPoints) +
                       "\nDepth (nm)\tLoad (\xB5N)\tTime (s)\tDepth (V)\tLoad (V)\n";
    const int loadEnd = kPoints * 4 / 10;
    const int holdEnd = kPoints * 6 / 10;
    for (int k = 0; k < kPoints; ++k) {
        if (k == loadEnd || k == holdEnd) {
            text += "\n";
        }
        const double force = k < loadEnd   ? 3000.0 * (k + 1) / loadEnd
                             : k < holdEnd ? 3000 + std::sin(k) * 0.5
                                           : 3000.0 * (kPoints - k) / (kPoints - holdEnd);
        const double depth = 20 + std::sqrt(force) * 4.1 + (file % 50) * 0.37 + std::cos(k) * 0.2;
        text += mivaro::formatC("%.6f\t%.6f\t%.6f\t%.6f\t%.6f\n", depth, force, k * 0.05, -0.00185,
                                0.48 + k * 1e-4);
    }
    return text;
}

struct Exports {
    fs::path directory;
    std::vector<std::string> paths;

    Exports() {
        directory = fs::temp_directory_path() / ("mivaro_recognise_bench_" + std::to_string(::getpid()));
        fs::create_directories(directory);
        mivaro::writeOpenSetup(directory.string(), triboScanSetup(), ";");
        for (int f = 0; f < kFiles; ++f) {
            const fs::path path = directory / ("indent_" + std::to_string(f) + ".txt");
            std::ofstream(path, std::ios::binary) << triboScanText(f);
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

void filesPerSecond(benchmark::State& state, double files) {
    state.counters["files_per_s"] =
        benchmark::Counter(files * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_TriboScanSetupRoad(benchmark::State& state) {
    const Exports& files = exports();
    for (auto _ : state) {
        SilentMessages messages;
        mivaro::IndentCurve curve;
        curve.settingsDirectory = files.directory.string() + "/";
        curve.names = files.paths;
        if (mivaro::convertCurveFiles(curve, messages).written.size() != files.paths.size()) {
            std::abort();
        }
    }
    filesPerSecond(state, kFiles);
}

void BM_TriboScanRecognised(benchmark::State& state) {
    const Exports& files = exports();
    for (auto _ : state) {
        SilentMessages messages;
        mivaro::IndentCurve curve;
        curve.settingsDirectory = files.directory.string() + "/";
        curve.names = files.paths;
        if (mivaro::recognise::convertWithRecogniser(curve, 0, messages).written.size() !=
            files.paths.size()) {
            std::abort();
        }
    }
    filesPerSecond(state, kFiles);
}

// The recogniser's reading alone, nothing written: how the time splits.
void BM_TriboScanRecogniseOnly(benchmark::State& state) {
    const Exports& files = exports();
    for (auto _ : state) {
        for (const std::string& path : files.paths) {
            std::size_t points = 0;
            mivaro::recognise::recogniseFile(path, [&](mivaro::recognise::RecognisedIndent& indent) {
                points += indent.depthNm.size();
                return true;
            });
            benchmark::DoNotOptimize(points);
        }
    }
    filesPerSecond(state, kFiles);
}

// One real container, copied into a folder of its own so its outputs land there.
void convertRealContainer(benchmark::State& state, const char* name, std::size_t indents) {
    const fs::path source = fs::path(MIVARO_SHARED_TESTDATA) / "instrument-exports" / name;
    if (!fs::exists(source)) {
        state.SkipWithError("the shared instrument exports are not here");
        return;
    }
    const fs::path folder = exports().directory / "real";
    fs::create_directories(folder);
    const fs::path copy = folder / name;
    fs::copy_file(source, copy, fs::copy_options::overwrite_existing);
    for (auto _ : state) {
        std::set<std::string> taken;
        if (mivaro::recognise::convertRecognisedFile(copy.string(), taken).written.size() != indents) {
            std::abort();
        }
    }
    filesPerSecond(state, 1);
    state.counters["indents_per_s"] =
        benchmark::Counter(static_cast<double>(indents * state.iterations()), benchmark::Counter::kIsRate);
}

void BM_NanoTestArchive39(benchmark::State& state) {
    convertRealContainer(state, "micromaterials_multipleIndentations.zip", 39);
}

void BM_NanoIndenterWorkbook9(benchmark::State& state) {
    convertRealContainer(state, "agilent_xp_fused_silica_FS_XP.xls", 9);
}

BENCHMARK(BM_TriboScanSetupRoad)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_TriboScanRecognised)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_TriboScanRecogniseOnly)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_NanoTestArchive39)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_NanoIndenterWorkbook9)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
