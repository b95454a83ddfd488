// Audio rendering: a frequency track for the transmission (each tone held for its symbol, or
// Gaussian-smoothed for FT8, FT4, FST4 and FST4W), one phase-continuous oscillator over it, the edges shaped
// where the mode shapes them, the result placed in its period and noise added on request.
#include "modes/audio.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <random>

#include "modes/mode-table.h"

namespace modes {
namespace {

// Hz above the base frequency, one entry a sample, for tones held for a (possibly fractional)
// number of samples each: symbol j fills samples j*N up to (j+1)*N, so no timing error builds up.
std::vector<double> HeldTrack(const std::vector<int>& tones, double samplesPerSymbol,
                              const std::vector<double>& offsetsHz) {
  const std::size_t length = std::size_t(std::llround(double(tones.size()) * samplesPerSymbol));
  std::vector<double> track(length);
  for (std::size_t n = 0; n < length; ++n) {
    std::size_t symbol = std::min(tones.size() - 1, std::size_t(double(n) / samplesPerSymbol));
    track[n] = offsetsHz[std::size_t(tones[symbol])];
  }
  return track;
}

// The Gaussian frequency pulse over three symbols, N samples a symbol.
std::vector<double> GaussianPulse(int samplesPerSymbol, double bandwidthTime) {
  const double k = std::numbers::pi * std::sqrt(2 / std::numbers::ln2);
  const double n = samplesPerSymbol;
  std::vector<double> pulse(std::size_t(3 * samplesPerSymbol));
  for (std::size_t i = 0; i < pulse.size(); ++i) {
    double t = (double(i) + 1 - 1.5 * n) / n;
    pulse[i] =
        0.5 * (std::erf(k * bandwidthTime * (t + 0.5)) - std::erf(k * bandwidthTime * (t - 0.5)));
  }
  return pulse;
}

// The smoothed track: every symbol's pulse spread over its neighbours. It is built over one extra
// slot at each end, which is not sent.
std::vector<double> SmoothedTrack(const std::vector<int>& tones, int samplesPerSymbol,
                                  double spacingHz, const Keying& keying) {
  const std::size_t n = std::size_t(samplesPerSymbol);
  const std::vector<double> pulse = GaussianPulse(samplesPerSymbol, keying.bandwidthTime);
  std::vector<double> track((tones.size() + 2) * n, 0.0);
  for (std::size_t j = 0; j < tones.size(); ++j)
    for (std::size_t i = 0; i < 3 * n; ++i) track[j * n + i] += tones[j] * spacingHz * pulse[i];
  if (keying.carryEndTones) {
    const std::size_t tail = track.size() - 2 * n;
    for (std::size_t i = 0; i < 2 * n; ++i) {
      track[i] += tones.front() * spacingHz * pulse[n + i];
      track[tail + i] += tones.back() * spacingHz * pulse[i];
    }
  }
  return std::vector<double>(track.begin() + long(n), track.end() - long(n));
}

// One oscillator over the track, its phase carried from sample to sample; ends faded in and out.
std::vector<double> Oscillate(const std::vector<double>& trackHz, double baseHz, int edgeSamples) {
  std::vector<double> wave(trackHz.size());
  double phase = 0;
  for (std::size_t i = 0; i < trackHz.size(); ++i) {
    wave[i] = std::sin(phase);
    phase = std::fmod(phase + 2 * std::numbers::pi * (baseHz + trackHz[i]) / kAudioSampleRate,
                      2 * std::numbers::pi);
  }
  const std::size_t edge = std::min(std::size_t(edgeSamples), wave.size() / 2);
  for (std::size_t i = 0; i < edge; ++i) {
    double rise = (1 - std::cos(std::numbers::pi * double(i) / double(edge))) / 2;
    wave[i] *= rise;
    wave[wave.size() - edge + i] *= 1 - rise;
  }
  return wave;
}

// Gaussian numbers from a generator whose sequence the C++ standard fixes, so a seed gives the
// same noise with every standard library.
struct NoiseSource {
  std::mt19937 bits;
  double Uniform() { return (double(bits()) + 0.5) / 4294967296.0; }
  double Gaussian() {
    return std::sqrt(-2 * std::log(Uniform())) * std::cos(2 * std::numbers::pi * Uniform());
  }
};

// A wave of unit amplitude made 16-bit samples: scaled, with noise added on request.
void Quantize(const std::vector<double>& wave, const AudioOptions& options,
              std::vector<std::int16_t>& samples) {
  // Noise power in 2500 Hz is that share of the whole 6000 Hz band; the signal's power is A²/2.
  const double nyquistHz = kAudioSampleRate / 2.0;
  double noisePerAmplitude = 0;
  if (options.addNoise)
    noisePerAmplitude = std::sqrt(0.5 * (nyquistHz / 2500) / std::pow(10, options.snrDb / 10));
  // Leave headroom for the noise peaks (four standard deviations) so little is clipped.
  const double amplitude = 0.8 * 32767 / (1 + 4 * noisePerAmplitude);
  NoiseSource noise{std::mt19937(options.seed)};
  samples.clear();
  samples.reserve(wave.size());
  for (double value : wave) {
    double sample = amplitude * value;
    if (options.addNoise) sample += amplitude * noisePerAmplitude * noise.Gaussian();
    samples.push_back(std::int16_t(std::clamp(std::lround(sample), -32768L, 32767L)));
  }
}

}  // namespace

double ToneOffsetHz(Mode mode, double spacingHz, int tone) {
  const ModeRow* row = RowOf(mode);
  return (tone + (row != nullptr ? row->keying.firstToneOffset : 0)) * spacingHz;
}

AudioResult RenderAudio(const Encoding& encoding, const AudioOptions& options,
                        std::vector<std::int16_t>& samples) {
  samples.clear();
  const ModeRow* row = RowOf(encoding.mode);
  if (row == nullptr) return {false, "there is no such mode"};
  const ModeInfo& info = row->info;
  if (encoding.tones.empty()) return {false, "the message has no tones to send"};
  const Keying& keying = row->keying;
  const double spacing = encoding.toneSpacingHz;
  const auto [lowTone, highTone] =
      std::minmax_element(encoding.tones.begin(), encoding.tones.end());
  const double lowHz = options.baseFrequencyHz + (*lowTone + keying.firstToneOffset) * spacing;
  const double highHz = options.baseFrequencyHz + (*highTone + keying.firstToneOffset) * spacing;
  const double nyquistHz = kAudioSampleRate / 2.0;
  if (!std::isfinite(options.baseFrequencyHz) || lowHz <= 0 || highHz >= nyquistHz) {
    char range[160];
    std::snprintf(range, sizeof range,
                  "its tones would lie from %.1f to %.1f Hz, outside the 0 to %.0f Hz that audio "
                  "at %d samples a second holds",
                  lowHz, highHz, nyquistHz, kAudioSampleRate);
    return {false, range};
  }
  if (options.addNoise && !(options.snrDb >= -60 && options.snrDb <= 60))
    return {false, "the signal to noise ratio must lie between -60 and 60 dB"};

  // Each tone's distance from the base frequency: the mode's, or the synthesiser's own.
  std::vector<double> offsetsHz(std::size_t(*highTone) + 1);
  for (std::size_t tone = 0; tone < offsetsHz.size(); ++tone)
    offsetsHz[tone] = tone < options.toneHz.size()
                          ? options.toneHz[tone] - options.baseFrequencyHz
                          : (double(tone) + keying.firstToneOffset) * spacing;
  if (!options.toneHz.empty() && options.toneHz.size() < offsetsHz.size())
    return {false, "a frequency is missing for some tone of the message"};
  const double samplesPerSymbol = encoding.symbolPeriodSeconds * kAudioSampleRate;
  const std::vector<double> track =
      keying.bandwidthTime > 0 && options.toneHz.empty()
          ? SmoothedTrack(encoding.tones, int(std::lround(samplesPerSymbol)), spacing, keying)
          : HeldTrack(encoding.tones, samplesPerSymbol, offsetsHz);
  const int edge = keying.edgeSamples + int(std::lround(keying.edgeSymbols * samplesPerSymbol));
  const std::vector<double> wave = Oscillate(track, options.baseFrequencyHz, edge);

  // A mode of several periods starts its tones where its period has them.
  const ModePeriod* modePeriod = FindPeriod(info, int(encoding.periodSeconds));
  const double periodSeconds = modePeriod ? modePeriod->seconds : info.periodSeconds;
  const double startSeconds = modePeriod ? modePeriod->startSeconds : info.startSeconds;
  const std::size_t periodSamples = std::size_t(std::lround(periodSeconds * kAudioSampleRate));
  const std::size_t start = std::size_t(std::lround(startSeconds * kAudioSampleRate));
  std::vector<double> period(std::max(periodSamples, start + wave.size()), 0.0);
  for (std::size_t i = 0; i < wave.size(); ++i) period[start + i] = wave[i];
  Quantize(period, options, samples);
  return {true, {}};
}

AudioResult RenderKeyedTrack(const std::vector<double>& trackHz, const AudioOptions& options,
                             std::vector<std::int16_t>& samples) {
  if (options.addNoise && !(options.snrDb >= -60 && options.snrDb <= 60))
    return {false, "the signal to noise ratio must lie between -60 and 60 dB"};
  // The key's envelope, its edges raised-cosine ramps of 5 ms.
  constexpr int kEdge = kAudioSampleRate / 200;
  std::vector<double> wave(trackHz.size());
  double phase = 0, level = 0;
  for (std::size_t i = 0; i < trackHz.size(); ++i) {
    const bool down = trackHz[i] > 0;
    level = std::clamp(level + (down ? 1.0 : -1.0) / kEdge, 0.0, 1.0);
    wave[i] = (1 - std::cos(std::numbers::pi * level)) / 2 * std::sin(phase);
    if (down)
      phase = std::fmod(phase + 2 * std::numbers::pi * trackHz[i] / kAudioSampleRate,
                        2 * std::numbers::pi);
  }
  Quantize(wave, options, samples);
  return {true, {}};
}

}  // namespace modes
