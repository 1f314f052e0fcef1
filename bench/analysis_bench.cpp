// The power-law fit and the section analysis against the straightforward
// baseline, measured in the same run.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "analysis/indentation_analysis.h"
#include "analysis/power_law_fit.h"
#include "analysis/section_modulus.h"
#include "baseline_power_law_fit.h"

namespace {

struct Branch {
    std::vector<double> depth, force;
    float pMax = 0, hP = 0;
};

// An unloading branch in ascending depth with a little force noise, P = 0.002 (h - 250)^1.8.
Branch makeBranch(int count) {
    Branch b;
    std::mt19937 random(11);
    std::normal_distribution<double> noise(0.0, 0.02);
    for (int i = 0; i < count; ++i) {
        const double h = 300 + 600.0 * i / (count - 1);
        b.depth.push_back(h);
        b.force.push_back(0.002 * std::pow(h - 250, 1.8) + noise(random));
    }
    b.depth.push_back(0);  // the spare slot of the copied branch
    b.force.push_back(0);
    b.pMax = static_cast<float>(b.force[static_cast<std::size_t>(count - 1)]);
    b.hP = 900;
    return b;
}

void BM_FitPowerLawBaseline(benchmark::State& state) {
    const Branch b = makeBranch(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            mivaro::baseline::fitPowerLaw(b.depth.data(), b.force.data(), static_cast<int>(state.range(0))));
    }
}

void BM_FitPowerLaw(benchmark::State& state) {
    const Branch b = makeBranch(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            mivaro::fitPowerLaw(b.depth.data(), b.force.data(), static_cast<int>(state.range(0))));
    }
}

// One thread: what the vectorised kernels alone gain.
void BM_FitPowerLawOneThread(benchmark::State& state) {
    const Branch b = makeBranch(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            mivaro::fitPowerLaw(b.depth.data(), b.force.data(), static_cast<int>(state.range(0)), false));
    }
}

mivaro::IndentationInputs sectionInputs(const Branch& b) {
    mivaro::IndentationInputs in;
    in.Es = 70;
    in.Vs = 0.17f;
    in.Ei = 1141;
    in.Vi = 0.07f;
    in.C0 = 24.56f;
    in.pMaxMn = b.pMax;
    in.hMaxNm = b.hP;
    return in;
}

// Section size 15 %, Top 95 %, Bottom 20 %, the defaults of the dialog.
void BM_SectionModulusBaseline(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const Branch b = makeBranch(count);
    const int slots = count + 1;
    const int w = static_cast<int>(15.0 * slots * 0.01);
    for (auto _ : state) {
        benchmark::DoNotOptimize(mivaro::baseline::sectionSeries(b.depth.data(), b.force.data(), slots, w, 0,
                                                                 0, 0.17f, 1141, 0.07f, 24.56f, 0, b.pMax,
                                                                 b.hP, 20, 95));
    }
}

void BM_SectionModulus(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const Branch b = makeBranch(count);
    const int slots = count + 1;
    const int w = static_cast<int>(15.0 * slots * 0.01);
    const mivaro::IndentationInputs in = sectionInputs(b);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            mivaro::computeSectionSeries(b.depth.data(), b.force.data(), slots, w, in, 20, 95));
    }
}

}  // namespace

BENCHMARK(BM_FitPowerLawBaseline)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FitPowerLaw)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FitPowerLawOneThread)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SectionModulusBaseline)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SectionModulus)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(2);
// The long branch once; its baseline would take minutes.
BENCHMARK(BM_SectionModulus)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
