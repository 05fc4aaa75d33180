#include "pitch/pitch.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

namespace orvena::test {

namespace {

using cd = std::complex<double>;

void fft(std::vector<cd>& a) {
    const std::size_t n = a.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (std::size_t len = 2; len <= n; len <<= 1) {
        const double ang = -2.0 * std::numbers::pi / static_cast<double>(len);
        const cd wl(std::cos(ang), std::sin(ang));
        for (std::size_t i = 0; i < n; i += len) {
            cd w(1.0, 0.0);
            for (std::size_t k = 0; k < len / 2; ++k) {
                const cd u = a[i + k];
                const cd v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
                w *= wl;
            }
        }
    }
}

double bessel_i0(double x) {
    double sum = 1.0, term = 1.0;
    for (int k = 1; k < 200; ++k) {
        term *= (x / (2.0 * k)) * (x / (2.0 * k));
        sum += term;
        if (term < 1e-17 * sum) break;
    }
    return sum;
}

// Kaiser window with beta 20: sidelobes far below anything the tests look for (about
// -150 dB), main lobe about +-6.5 bins. For levels of small components.
std::vector<double> deep_window(std::size_t n) {
    std::vector<double> w(n);
    const double beta = 20.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = 2.0 * static_cast<double>(i) / static_cast<double>(n - 1) - 1.0;
        w[i] = bessel_i0(beta * std::sqrt(std::max(0.0, 1.0 - t * t))) / bessel_i0(beta);
    }
    return w;
}

// 4-term Blackman-Harris: sidelobes below -92 dB, main lobe +-4 bins. For frequencies.
std::vector<double> window_for(std::size_t n) {
    std::vector<double> w(n);
    const double a0 = 0.35875, a1 = 0.48829, a2 = 0.14128, a3 = 0.01168;
    for (std::size_t i = 0; i < n; ++i) {
        const double x = 2.0 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(n);
        w[i] = a0 - a1 * std::cos(x) + a2 * std::cos(2 * x) - a3 * std::cos(3 * x);
    }
    return w;
}

struct Spectrum {
    std::vector<double> windowed;  // signal times window
    double window_sum = 0.0;
    std::vector<double> mag;  // |FFT| of the zero-padded windowed signal, bins 0..size/2
    double bin_hz = 0.0;
};

Spectrum analyse(std::span<const float> x, double rate, bool deep = false) {
    Spectrum s;
    const auto w = deep ? deep_window(x.size()) : window_for(x.size());
    s.windowed.resize(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
        s.windowed[i] = w[i] * x[i];
        s.window_sum += w[i];
    }
    std::size_t n = 1;
    while (n < 2 * x.size()) n <<= 1;  // at least 2x zero padding
    std::vector<cd> a(n);
    for (std::size_t i = 0; i < x.size(); ++i) a[i] = s.windowed[i];
    fft(a);
    s.mag.resize(n / 2 + 1);
    for (std::size_t k = 0; k <= n / 2; ++k) s.mag[k] = std::abs(a[k]);
    s.bin_hz = rate / static_cast<double>(n);
    return s;
}

double dtft_magnitude(const Spectrum& s, double rate, double f) {
    // Plain doubles rather than std::complex: this runs a few dozen times per measurement
    // and tests are built without optimisation.
    const double w = 2.0 * std::numbers::pi * f / rate;
    const double c = std::cos(w), sn = -std::sin(w);
    double zr = 1.0, zi = 0.0, ar = 0.0, ai = 0.0;
    const double* x = s.windowed.data();
    const std::size_t n = s.windowed.size();
    for (std::size_t i = 0; i < n; ++i) {
        ar += x[i] * zr;
        ai += x[i] * zi;
        const double nr = zr * c - zi * sn;
        zi = zr * sn + zi * c;
        zr = nr;
        if ((i & 1023) == 1023) {  // keep the phasor on the unit circle
            const double m = std::sqrt(zr * zr + zi * zi);
            zr /= m;
            zi /= m;
        }
    }
    return std::sqrt(ar * ar + ai * ai);
}

// Golden-section search for the maximum of the transform's magnitude in [lo, hi].
double refine(const Spectrum& s, double rate, double lo, double hi) {
    const double g = (std::sqrt(5.0) - 1.0) / 2.0;
    double a = lo, b = hi;
    double c = b - g * (b - a), d = a + g * (b - a);
    double fc = dtft_magnitude(s, rate, c), fd = dtft_magnitude(s, rate, d);
    while (b - a > 1e-6) {
        if (fc > fd) {
            b = d;
            d = c;
            fd = fc;
            c = b - g * (b - a);
            fc = dtft_magnitude(s, rate, c);
        } else {
            a = c;
            c = d;
            fc = fd;
            d = a + g * (b - a);
            fd = dtft_magnitude(s, rate, d);
        }
    }
    return (a + b) / 2.0;
}

std::size_t strongest_bin(const Spectrum& s, std::size_t lo, std::size_t hi) {
    std::size_t best = lo;
    for (std::size_t k = lo; k <= hi && k < s.mag.size(); ++k) {
        if (s.mag[k] > s.mag[best]) best = k;
    }
    return best;
}

double refine_around(const Spectrum& s, double rate, std::size_t bin) {
    const double f = static_cast<double>(bin) * s.bin_hz;
    return refine(s, rate, std::max(0.0, f - 1.5 * s.bin_hz), f + 1.5 * s.bin_hz);
}

}  // namespace

double measure_peak(std::span<const float> signal, double rate, double lo_hz, double hi_hz) {
    if (signal.empty()) return 0.0;
    const Spectrum s = analyse(signal, rate);
    const auto lo = static_cast<std::size_t>(std::max(1.0, lo_hz / s.bin_hz));
    const auto hi = static_cast<std::size_t>(hi_hz / s.bin_hz);
    return refine_around(s, rate, strongest_bin(s, lo, hi));
}

double measure_fundamental(std::span<const float> signal, double rate) {
    if (signal.empty()) return 0.0;
    const Spectrum s = analyse(signal, rate);
    const auto lowest = static_cast<std::size_t>(std::max(2.0, 20.0 / s.bin_hz));
    const std::size_t top = strongest_bin(s, lowest, s.mag.size() - 1);
    if (s.mag[top] <= 0.0) return 0.0;
    // The strongest peak may be a harmonic: look for the lowest f/d that is itself a clear
    // peak (within 30 dB of the strongest).
    const double f_top = static_cast<double>(top) * s.bin_hz;
    for (int d = 12; d >= 2; --d) {
        const double f = f_top / d;
        if (f < 20.0) continue;
        const auto lo = static_cast<std::size_t>((f * 0.98) / s.bin_hz);
        const auto hi = static_cast<std::size_t>((f * 1.02) / s.bin_hz) + 1;
        const std::size_t k = strongest_bin(s, std::max(lo, lowest), hi);
        const bool is_peak =
            k > lo && k < hi && s.mag[k] >= s.mag[k - 1] && s.mag[k] >= s.mag[k + 1];
        if (is_peak && s.mag[k] > s.mag[top] * 0.0316) return refine_around(s, rate, k);
    }
    return refine_around(s, rate, top);
}

double amplitude_at(std::span<const float> signal, double rate, double f_hz) {
    if (signal.empty()) return 0.0;
    const Spectrum s = analyse(signal, rate);
    return 2.0 * dtft_magnitude(s, rate, f_hz) / s.window_sum;
}

double spurious_level_db(std::span<const float> signal, double rate) {
    const Spectrum s = analyse(signal, rate, true);
    const std::size_t top = strongest_bin(s, 1, s.mag.size() - 1);
    // Main lobe of the window with a margin; the padded bins are finer than natural ones.
    const double natural_bin = rate / static_cast<double>(signal.size());
    const auto lobe = static_cast<std::size_t>(std::ceil(8.0 * natural_bin / s.bin_hz));
    double worst = 0.0;
    for (std::size_t k = 1; k < s.mag.size(); ++k) {
        if (k + lobe >= top && k <= top + lobe) continue;
        worst = std::max(worst, s.mag[k]);
    }
    return 20.0 * std::log10(std::max(worst, 1e-300) / s.mag[top]);
}

double cents_between(double f_hz, double reference_hz) {
    return 1200.0 * std::log2(f_hz / reference_hz);
}

std::vector<float> channel_of(std::span<const float> interleaved, int channel) {
    std::vector<float> out(interleaved.size() / 2);
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i] = interleaved[2 * i + static_cast<std::size_t>(channel)];
    }
    return out;
}

double rms(std::span<const float> signal) {
    if (signal.empty()) return 0.0;
    double sum = 0.0;
    for (float v : signal) sum += static_cast<double>(v) * v;
    return std::sqrt(sum / static_cast<double>(signal.size()));
}

}  // namespace orvena::test
