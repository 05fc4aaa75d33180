#pragma once
// Measuring the pitch of rendered sound. The spectrum of a Blackman-Harris-windowed signal
// gives the rough place of the fundamental; the magnitude of the windowed signal's Fourier
// transform is then maximised around it, which places a steady or decaying partial to a few
// thousandths of a cent.

#include <cstddef>
#include <span>
#include <vector>

namespace orvena::test {

// Fundamental frequency in Hz of a (possibly decaying) harmonic tone: the lowest strong
// peak of the spectrum of which the strongest peak is a harmonic. 0 for silence.
double measure_fundamental(std::span<const float> signal, double sample_rate_hz);

// Frequency in Hz of the strongest component between lo_hz and hi_hz.
double measure_peak(std::span<const float> signal, double sample_rate_hz, double lo_hz,
                    double hi_hz);

// Amplitude of the component at exactly f_hz (a full-scale sine there reads 1).
double amplitude_at(std::span<const float> signal, double sample_rate_hz, double f_hz);

// Level of the strongest component outside the main lobe of the strongest one, in dB
// relative to it (a pure tone gives a very negative number).
double spurious_level_db(std::span<const float> signal, double sample_rate_hz);

// 1200 * log2(f / reference).
double cents_between(double f_hz, double reference_hz);

// One channel of interleaved stereo.
std::vector<float> channel_of(std::span<const float> interleaved_stereo, int channel);

// Root-mean-square of a stretch of signal.
double rms(std::span<const float> signal);

}  // namespace orvena::test
