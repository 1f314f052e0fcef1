// `mivaro-cli batch` over 1 000 generated curve files of 5 000 points each
// (labelled tests: loading, top hold, unloading, bottom hold, reloading,
// unloading), with one job and with two, beside running `mivaro-cli analyse`
// once per file on a part of the same files, and `batch --iso` (least-squares
// fit) with one job against `batch` with one job. Files per second and CPU
// milliseconds per file (the children's user + system time) for each, and
// the cores the children used on average (CPU time / wall time).
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/c_format.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 1000;
constexpr int kPoints = 5000;
constexpr int kAnalyseFiles = 100;  // process starts are slow; their rate is measured on a part
// Where the points of one curve go: loading, top hold, unloading, bottom hold, reloading, unloading.
constexpr int kLoad = 1500, kHold = 500, kUnload = 1400, kBottom = 300, kReload = 700;
constexpr int kFirstUnload = kLoad + kHold;

// Berkovich-like test to pmax mN: P = k h^2 on loading, creep in the hold,
// P = a (h - hf)^m on unloading and reloading, noise from a fixed-seed generator.
std::string curveText(int index) {
    unsigned state = 12345u + static_cast<unsigned>(index) * 7919u;
    const auto noise = [&state] {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / (1u << 24) - 0.5;
    };
    const double pmax = 8.0 + 4.0 * (index % 17) / 16.0;
    const double hmax = 290.0 * std::sqrt(pmax / 10.0), hf = 0.45 * hmax, m = 1.38;
    const double hload = hmax / 1.012;
    const double a = pmax / std::pow(hmax - hf, m);
    std::string text = "Depth(um),Force(mN),Time(s),Segment\r\n";
    text.reserve(kPoints * 48);
    double t = 0;
    const auto add = [&](double depthNm, double forceMn, const char* label) {
        text += mivaro::formatC("%e,%e,%f,%s\r\n", (depthNm + 0.05 * noise()) / 1000.0,
                                forceMn + 0.0005 * noise(), t, label);
        t += 0.02;
    };
    for (int i = 1; i <= kLoad; ++i) {
        add(hload * std::sqrt(static_cast<double>(i) / kLoad), pmax * i / kLoad, "LOAD");
    }
    for (int i = 1; i <= kHold; ++i) {
        add(hload + (hmax - hload) * std::log1p(i) / std::log1p(kHold), pmax, "TOP_HOLD");
    }
    const double pLow = 0.1 * pmax;
    const auto branch = [&](double p) { return hf + std::pow(p / a, 1.0 / m); };
    for (int i = 1; i <= kUnload; ++i) {
        add(branch(pmax - (pmax - pLow) * i / kUnload), pmax - (pmax - pLow) * i / kUnload, "UNLOAD");
    }
    for (int i = 1; i <= kBottom; ++i) {
        add(branch(pLow) - 0.3 * i / kBottom, pLow, "BOTTOM_HOLD");
    }
    for (int i = 1; i <= kReload; ++i) {
        add(branch(pLow + (0.9 * pmax - pLow) * i / kReload), pLow + (0.9 * pmax - pLow) * i / kReload,
            "RELOAD");
    }
    const int rest = kPoints - kLoad - kHold - kUnload - kBottom - kReload;
    for (int i = 1; i <= rest; ++i) {
        add(branch(0.9 * pmax * (1.0 - 0.9 * i / rest)), 0.9 * pmax * (1.0 - 0.9 * i / rest), "UNLOAD");
    }
    return text;
}

struct BatchFiles {
    fs::path directory;
    std::vector<std::string> paths;

    BatchFiles() {
        directory = fs::temp_directory_path() / ("mivaro_batch_bench_" + std::to_string(::getpid()));
        fs::create_directories(directory / "settings");
        // Hardness (HV) too, as a full table has it.
        std::ofstream(directory / "settings/hardness_setup.par")
            << "24.56\n0.0\n26.44\n0.0\n0.0\n1\n0.0\n1\n";
        for (int f = 0; f < kFiles; ++f) {
            const std::string path = (directory / ("indent_" + std::to_string(f) + ".MVR")).string();
            std::ofstream(path, std::ios::binary) << curveText(f);
            paths.push_back(path);
        }
    }
    ~BatchFiles() {
        std::error_code ignored;
        fs::remove_all(directory, ignored);
    }
};

const BatchFiles& batchFiles() {
    static const BatchFiles files;
    return files;
}

double childrenCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& tv) { return static_cast<double>(tv.tv_sec) + tv.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Runs mivaro-cli with its output to /dev/null; returns its exit status.
int runCli(const std::vector<std::string>& args) {
    const pid_t pid = fork();
    if (pid == 0) {
        std::FILE* sink = std::freopen("/dev/null", "w", stdout);
        (void)sink;
        std::vector<char*> argv{const_cast<char*>(MIVARO_CLI)};
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        execv(MIVARO_CLI, argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Rate {
    double filesPerSecond = 0;
};
Rate g_oneJob, g_twoJobs, g_analyse, g_iso;

// Wall time of each iteration is set by hand: the work is in child processes.
template <typename Run>
void measure(benchmark::State& state, int files, Run run, Rate& rate) {
    double wall = 0;
    double cpu = 0;
    for (auto _ : state) {
        const double cpuBefore = childrenCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        if (!run()) {
            state.SkipWithError("mivaro-cli failed");
            return;
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        wall += seconds;
        cpu += childrenCpuSeconds() - cpuBefore;
    }
    const double done = static_cast<double>(files) * static_cast<double>(state.iterations());
    rate.filesPerSecond = done / wall;
    state.counters["files_per_s"] = rate.filesPerSecond;
    state.counters["cpu_ms_per_file"] = 1000.0 * cpu / done;
    state.counters["wall_ms_per_file"] = 1000.0 * wall / done;
    // Below the job count when other programs hold the cores: read the scaling beside it.
    state.counters["cores_used"] = cpu / wall;
}

void BM_Batch(benchmark::State& state) {
    const BatchFiles& files = batchFiles();
    const auto jobs = std::to_string(state.range(0));
    std::vector<std::string> args = {"batch", "--settings", (files.directory / "settings").string(), "--jobs",
                                     jobs,    "--out",      (files.directory / "table.csv").string()};
    args.insert(args.end(), files.paths.begin(), files.paths.end());
    measure(
        state, kFiles, [&] { return runCli(args) == 0; }, state.range(0) == 1 ? g_oneJob : g_twoJobs);
}

// The instrument-grade results with the least-squares fit, one job: against BM_Batch/1 of the same run.
void BM_BatchIso(benchmark::State& state) {
    const BatchFiles& files = batchFiles();
    std::vector<std::string> args = {
        "batch", "--settings", (files.directory / "settings").string(), "--jobs", "1", "--iso", "--fit",
        "lsq",   "--out",      (files.directory / "iso.csv").string()};
    args.insert(args.end(), files.paths.begin(), files.paths.end());
    measure(
        state, kFiles, [&] { return runCli(args) == 0; }, g_iso);
}

// Baseline: one `analyse` process per file, a click on the first point of the main unloading.
void BM_AnalyseOncePerFile(benchmark::State& state) {
    const BatchFiles& files = batchFiles();
    const std::string settings = (files.directory / "settings").string();
    measure(
        state, kAnalyseFiles,
        [&] {
            for (int f = 0; f < kAnalyseFiles; ++f) {
                if (runCli({"analyse", "--settings", settings, "--point", std::to_string(kFirstUnload),
                            "--action", "modulus", files.paths[static_cast<std::size_t>(f)]}) != 0) {
                    return false;
                }
            }
            return true;
        },
        g_analyse);
}

BENCHMARK(BM_AnalyseOncePerFile)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(2);
BENCHMARK(BM_Batch)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_Batch)->Arg(2)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_BatchIso)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_oneJob.filesPerSecond > 0 && g_twoJobs.filesPerSecond > 0 && g_analyse.filesPerSecond > 0) {
        std::printf("files/s: analyse once per file %.1f, batch one job %.1f, two jobs %.1f\n",
                    g_analyse.filesPerSecond, g_oneJob.filesPerSecond, g_twoJobs.filesPerSecond);
        std::printf("two jobs / one job: %.2f (target 1.7); one job / analyse per file: %.1f (target 5)\n",
                    g_twoJobs.filesPerSecond / g_oneJob.filesPerSecond,
                    g_oneJob.filesPerSecond / g_analyse.filesPerSecond);
    }
    if (g_oneJob.filesPerSecond > 0 && g_iso.filesPerSecond > 0) {
        std::printf("batch --iso (lsq) one job %.1f files/s; time --iso / without: %.2f (target 1.5)\n",
                    g_iso.filesPerSecond, g_oneJob.filesPerSecond / g_iso.filesPerSecond);
    }
    return 0;
}
