#include "analysis/log_exp_kernels.h"

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
constexpr double kP1 = 1.66666666666666019037e-01;
constexpr double kP2 = -2.77777777770155933842e-03;
constexpr double kP3 = 6.61375632143793436117e-05;
constexpr double kP4 = -1.65339022054652515390e-06;
constexpr double kP5 = 4.13813679705723846039e-08;
constexpr double kRoundMagic = 6755399441055744.0;  // 1.5 * 2^52: adding it rounds to an integer
constexpr double kExpLimit = 708.0;                 // inside: normal result, no overflow

inline double lnKernel(double x) {
    const std::uint64_t ix = std::bit_cast<std::uint64_t>(x);
    const std::uint64_t tmp = ix - kSqrtHalfBits;
    // Exponent k as a double without a 64-bit arithmetic shift (not vectorisable on x86).
    const std::uint64_t ku = tmp >> 52;
    double k = std::bit_cast<double>(kMagicBits | ku) - kMagic;
    k = k >= 2048.0 ? k - 4096.0 : k;
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

inline double expKernel(double x) {
    const double shifted = x * kInvLn2 + kRoundMagic;
    const double k = shifted - kRoundMagic;
    const std::uint64_t kBits = std::bit_cast<std::uint64_t>(shifted);
    const double hi = x - k * kLn2Hi;
    const double lo = k * kLn2Lo;
    const double r = hi - lo;
    const double r2 = r * r;
    const double c = r - r2 * (kP1 + r2 * (kP2 + r2 * (kP3 + r2 * (kP4 + r2 * kP5))));
    const double y = 1.0 - ((lo - (r * c) / (2.0 - c)) - hi);
    const double scale = std::bit_cast<double>((kBits + 1023) << 52);
    return y * scale;
}

}  // namespace

void logArray(const double* in, double* out, int n) {
    bool special = false;
    for (int i = 0; i < n; ++i) {
        const double x = in[i];
        special |= !(x >= 2.2250738585072014e-308 && x <= 1.7976931348623157e308);
        out[i] = lnKernel(x);
    }
    if (special) {
        for (int i = 0; i < n; ++i) {
            const double x = in[i];
            if (!(x >= 2.2250738585072014e-308 && x <= 1.7976931348623157e308)) {
                out[i] = std::log(x);
            }
        }
    }
}

double sumSquaredExpResiduals(const double* lnd, const double* p, int n, double offset, double slope,
                              double* scratch) {
    bool special = false;
    for (int i = 0; i < n; ++i) {
        const double x = offset + slope * lnd[i];
        special |= !(x > -kExpLimit && x < kExpLimit);
        const double residual = expKernel(x) - p[i];
        scratch[i] = residual * residual;
    }
    if (special) {
        for (int i = 0; i < n; ++i) {
            const double x = offset + slope * lnd[i];
            if (!(x > -kExpLimit && x < kExpLimit)) {
                const double residual = std::exp(x) - p[i];
                scratch[i] = residual * residual;
            }
        }
    }
    // Four running sums keep the additions independent.
    double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        s0 += scratch[i];
        s1 += scratch[i + 1];
        s2 += scratch[i + 2];
        s3 += scratch[i + 3];
    }
    for (; i < n; ++i) {
        s0 += scratch[i];
    }
    return (s0 + s1) + (s2 + s3);
}

}  // namespace mivaro
