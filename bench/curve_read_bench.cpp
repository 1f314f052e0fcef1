// Reading curve files: the document's rebuild (line counting included) over
// 200 generated standard curve files of 20 000 lines each, beside a
// straightforward getline + strtod reader of the same files.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_messages.h"
#include "curves/mivaro_doc.h"
#include "platform/c_format.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 200;
constexpr int kLines = 20000;

struct CurveFiles {
    fs::path directory;
    std::vector<std::string> paths;
    std::int64_t bytes = 0;

    CurveFiles() {
        directory = fs::temp_directory_path() / ("mivaro_curve_read_bench_" + std::to_string(::getpid()));
        fs::create_directories(directory);
        const char* labels[] = {"LOAD", "TOP_HOLD", "UNLOAD", "BUTTOM_HOLD", "RELOAD"};
        for (int f = 0; f < kFiles; ++f) {
            const std::string path = (directory / ("curve_" + std::to_string(f) + ".MVR")).string();
            std::string text = "Depth(um),Force(mN),Time(s),Segment\r\n";
            text.reserve(kLines * 48);
            for (int i = 0; i < kLines; ++i) {
                const double x = static_cast<double>(i) / kLines;
                const double depthUm = 0.05 + 0.4 * std::sin(3.0 * x + 0.01 * f) * std::sin(3.0 * x);
                const double forceMn = 10.0 * x * (1.0 - x) + 0.001 * (i % 7);
                text += mivaro::formatC("%e,%e,%f,%s\r\n", std::fabs(depthUm) + 1e-4, forceMn, 0.05 * i,
                                        labels[(i * 5) / kLines]);
            }
            std::ofstream(path, std::ios::binary) << text;
            bytes += static_cast<std::int64_t>(text.size());
            paths.push_back(path);
        }
    }
    ~CurveFiles() {
        std::error_code ignored;
        fs::remove_all(directory, ignored);
    }
};

const CurveFiles& curveFiles() {
    static const CurveFiles files;
    return files;
}

void BM_RebuildCurveSet(benchmark::State& state) {
    const CurveFiles& files = curveFiles();
    SilentMessages messages;
    mivaro::NoRepaint repaint;
    mivaro::CMivaro4Doc doc(files.directory.string(), messages, repaint);
    doc.appendPaths(files.paths);
    for (auto _ : state) {
        doc.rebuildCurveSet();
        benchmark::DoNotOptimize(doc.curveSet().depth.data());
    }
    if (doc.curveSet().pointCount() != kFiles * kLines) {
        state.SkipWithError("wrong point count");
    }
    state.SetBytesProcessed(state.iterations() * files.bytes);
}

// What one would write first: getline, find the commas, strtod each field.
void BM_BaselineGetlineStrtod(benchmark::State& state) {
    const CurveFiles& files = curveFiles();
    std::vector<double> depth, force, time;
    std::vector<char> segment;
    for (auto _ : state) {
        depth.clear();
        force.clear();
        time.clear();
        segment.clear();
        for (const std::string& path : files.paths) {
            std::ifstream in(path);
            std::string line;
            std::getline(in, line);
            char running = 'X';
            while (std::getline(in, line)) {
                if (!line.empty() && line.back() == '\r') {
                    line.pop_back();
                }
                if (line.size() <= 3) {
                    continue;
                }
                const std::size_t c1 = line.find(',');
                const std::size_t c2 = line.find(',', c1 + 1);
                const std::size_t c3 = line.find(',', c2 + 1);
                if (c3 == std::string::npos) {
                    break;
                }
                const double d = std::strtod(line.c_str(), nullptr) * 1000.0;
                const double f = std::strtod(line.c_str() + c1 + 1, nullptr);
                const double t = std::strtod(line.c_str() + c2 + 1, nullptr);
                const std::string label = line.substr(c3 + 1);
                if (label == "LOAD") {
                    running = 'L';
                } else if (label == "TOP_HOLD") {
                    running = 'T';
                } else if (label == "UNLOAD") {
                    running = 'U';
                } else if (label == "BOTTOM_HOLD" || label == "BUTTOM_HOLD") {
                    running = 'B';
                } else if (label == "RELOAD") {
                    running = 'R';
                }
                if (d > 0) {
                    depth.push_back(d);
                    force.push_back(f);
                    time.push_back(t);
                    segment.push_back(running);
                }
            }
        }
        benchmark::DoNotOptimize(depth.data());
    }
    if (depth.size() != static_cast<std::size_t>(kFiles) * kLines) {
        state.SkipWithError("wrong point count");
    }
    state.SetBytesProcessed(state.iterations() * files.bytes);
}

BENCHMARK(BM_BaselineGetlineStrtod)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RebuildCurveSet)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
