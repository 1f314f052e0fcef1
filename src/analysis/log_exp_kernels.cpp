#include "analysis/log_exp_kernels.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

namespace mivaro {
namespace {

// Polynomial logarithm after the classic fdlibm reduction to [sqrt(2)/2, sqrt(2)).
constexpr double kLn2Hi = 6.93147180369123816490e-01;
constexpr double kLn2Lo = 1.90821492927058770002e-10;
constexpr double kLg1 = 6.666666666666735130e-01;
constexpr double kLg2 = 3.999999999940941908e-01;
constexpr double kLg3 = 2.857142874366239149e-01;
constexpr double kLg4 = 2.222219843214978396e-01;
constexpr double kLg5 = 1.818357216161805012e-01;
constexpr double kLg6 = 1.531383769920937332e-01;
constexpr double kLg7 = 1.479819860511658591e-01;
constexpr std::uint64_t kSqrtHalfBits = 0x3fe6a09e667f3bcdULL;
constexpr std::uint64_t kExponentMask = 0xfffULL << 52;
constexpr std::uint64_t kMagicBits = 0x4330000000000000ULL;  // 2^52 as bits
constexpr double kMagic = 4503599627370496.0;                // 2^52

// fdlibm exponential.
constexpr double kInvLn2 = 1.44269504088896338700e+00;
constexpr double kRoundMagic = 6755399441055744.0;  // 1.5 * 2^52: adding it rounds to an integer
constexpr double kExpLimit = 708.0;                 // inside: normal result, no overflow
constexpr std::uint64_t kAbsMask = 0x7fffffffffffffffULL;

// Shift-and-or tests: floating-point comparisons (which may trap) and 64-bit
// unsigned comparisons would keep the loops from being vectorised.
inline std::uint64_t logNeedsLibrary(double x) {
    const std::uint64_t e = std::bit_cast<std::uint64_t>(x) >> 52;  // sign and exponent
    return ((e - 1) >> 63) | ((e + 1) >> 11);  // zero/subnormal, or negative/infinite/NaN
}
inline std::uint64_t expNeedsLibrary(double x) {
    const std::uint64_t magnitude = std::bit_cast<std::uint64_t>(x) & kAbsMask;
    return ((magnitude - std::bit_cast<std::uint64_t>(kExpLimit)) >> 63) ^ 1;  // |x| >= limit or NaN
}

inline double lnKernel(double x) {
    const std::uint64_t ix = std::bit_cast<std::uint64_t>(x);
    const std::uint64_t tmp = ix - kSqrtHalfBits;
    // Exponent k as a double without a 64-bit arithmetic shift (not vectorisable on x86).
    // (ku ^ 2048) - 2048 is the signed 12-bit exponent; no branch, no FP select.
    const std::uint64_t ku = tmp >> 52;
    const double k = std::bit_cast<double>(kMagicBits | (ku ^ 2048)) - (kMagic + 2048.0);
    const double z = std::bit_cast<double>(ix - (tmp & kExponentMask));
    const double f = z - 1.0;
    const double s = f / (2.0 + f);
    const double s2 = s * s;
    const double s4 = s2 * s2;
    const double t1 = s4 * (kLg2 + s4 * (kLg4 + s4 * kLg6));
    const double t2 = s2 * (kLg1 + s4 * (kLg3 + s4 * (kLg5 + s4 * kLg7)));
    const double r = t2 + t1;
    const double hfsq = 0.5 * f * f;
    return k * kLn2Hi - ((hfsq - (s * (hfsq + r) + k * kLn2Lo)) - f);
}

// exp(x) = 2^k exp(r), |r| <= ln2/2, exp(r) by its Taylor series to r^12
// (remainder below 2e-16 relative): no division in the loop.
inline double expKernel(double x) {
    const double shifted = x * kInvLn2 + kRoundMagic;
    const double k = shifted - kRoundMagic;
    const std::uint64_t kBits = std::bit_cast<std::uint64_t>(shifted);
    const double r = (x - k * kLn2Hi) - k * kLn2Lo;
    double p = 1.0 / 479001600.0;  // 1/12!
    p = p * r + 1.0 / 39916800.0;
    p = p * r + 1.0 / 3628800.0;
    p = p * r + 1.0 / 362880.0;
    p = p * r + 1.0 / 40320.0;
    p = p * r + 1.0 / 5040.0;
    p = p * r + 1.0 / 720.0;
    p = p * r + 1.0 / 120.0;
    p = p * r + 1.0 / 24.0;
    p = p * r + 1.0 / 6.0;
    p = p * r + 0.5;
    p = p * r + 1.0;
    p = p * r + 1.0;
    const double scale = std::bit_cast<double>((kBits + 1023) << 52);
    return p * scale;
}

// Wider vectors where the processor has them (chosen at load time through an
// ifunc, so glibc only). Every clone does the same operations in the same
// order per lane, and the file is built without contraction into fused
// multiply-adds, so the results are bit for bit the same on every machine.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && defined(__GLIBC__)
#define MIVARO_VECTOR_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define MIVARO_VECTOR_CLONES
#endif

}  // namespace

MIVARO_VECTOR_CLONES void logArray(const double* in, double* out, int n) {
    std::uint64_t special = 0;
    for (int i = 0; i < n; ++i) {
        const double x = in[i];
        special |= logNeedsLibrary(x);
        out[i] = lnKernel(x);
    }
    if (special != 0) {
        for (int i = 0; i < n; ++i) {
            const double x = in[i];
            if (logNeedsLibrary(x) != 0) {
                out[i] = std::log(x);
            }
        }
    }
}

MIVARO_VECTOR_CLONES LogSums logShiftedSums(const double* h, double shift, double scale, const double* y,
                                            int n, double* lnd) {
    // Eight running sums per quantity: independent lanes the compiler can vectorise.
    constexpr int kLanes = 8;
    double sumL[kLanes] = {}, sumLY[kLanes] = {}, sumLL[kLanes] = {};
    std::uint64_t special = 0;
    int i = 0;
    for (; i + kLanes <= n; i += kLanes) {
        for (int l = 0; l < kLanes; ++l) {
            const double d = h[i + l] - shift;
            special |= logNeedsLibrary(d);
            const double ln = lnKernel(d);
            lnd[i + l] = ln;
            const double value = ln * scale;
            sumL[l] += value;
            sumLY[l] += value * y[i + l];
            sumLL[l] += value * value;
        }
    }
    const int blocked = i;
    for (; i < n; ++i) {
        const double d = h[i] - shift;
        special |= logNeedsLibrary(d);
        lnd[i] = lnKernel(d);
    }
    if (special != 0) {
        // Redo with the library where the kernel does not apply; rare, so simply serial.
        LogSums sums;
        for (int j = 0; j < n; ++j) {
            const double d = h[j] - shift;
            if (logNeedsLibrary(d) != 0) {
                lnd[j] = std::log(d);
            }
            const double value = lnd[j] * scale;
            sums.sumL += value;
            sums.sumLY += value * y[j];
            sums.sumLL += value * value;
        }
        return sums;
    }
    LogSums sums;
    for (int l = 0; l < kLanes; ++l) {
        sums.sumL += sumL[l];
        sums.sumLY += sumLY[l];
        sums.sumLL += sumLL[l];
    }
    for (int j = blocked; j < n; ++j) {
        const double value = lnd[j] * scale;
        sums.sumL += value;
        sums.sumLY += value * y[j];
        sums.sumLL += value * value;
    }
    return sums;
}

MIVARO_VECTOR_CLONES double sumSquaredExpResiduals(const double* lnd, const double* p, int n, double offset,
                                                   double slope, double stopAbove) {
    constexpr int kLanes = 8;
    constexpr int kChunk = 512;  // points between checks against stopAbove
    double total = 0;
    for (int begin = 0; begin < n; begin += kChunk) {
        const int end = std::min(n, begin + kChunk);
        double sums[kLanes] = {};
        std::uint64_t special = 0;
        int i = begin;
        for (; i + kLanes <= end; i += kLanes) {
            for (int l = 0; l < kLanes; ++l) {
                const double x = offset + slope * lnd[i + l];
                special |= expNeedsLibrary(x);
                const double residual = expKernel(x) - p[i + l];
                sums[l] += residual * residual;
            }
        }
        double chunk = 0;
        for (int l = 0; l < kLanes; ++l) {
            chunk += sums[l];
        }
        for (; i < end; ++i) {
            const double x = offset + slope * lnd[i];
            special |= expNeedsLibrary(x);
            const double residual = expKernel(x) - p[i];
            chunk += residual * residual;
        }
        if (special != 0) {
            // Out of the kernel's range somewhere: the library for those points, serially.
            chunk = 0;
            for (int j = begin; j < end; ++j) {
                const double x = offset + slope * lnd[j];
                const double residual = (expNeedsLibrary(x) != 0 ? std::exp(x) : expKernel(x)) - p[j];
                chunk += residual * residual;
            }
        }
        total += chunk;
        if (total > stopAbove) {
            break;  // the terms are not negative: the full sum is larger still
        }
    }
    return total;
}

}  // namespace mivaro
