// Morse for the host: the core's keying wrapped as an Encoding, and the audio of a keying.
#include "modes/morse.h"

#include <cmath>
#include <numbers>
#include <string>

#include "common/ascii.h"
#include "modes/core/cw/qvk-morse.h"

namespace modes {
namespace {

// Durations are at most 7 dot units (3 bits); the sequence has two states.
constexpr ModeInfo kMorse{Mode::kCw, "cw", "", 0.06, 0, 1, 3, 1, 0, 0};

}  // namespace

const ModeInfo& MorseInfo() {
  return kMorse;
}

double DotSecondsAt(double wordsPerMinute) {
  return 1.2 / wordsPerMinute;
}

EncodeResult EncodeMorse(std::string_view text, const MorseKeying& keying, Encoding& encoding) {
  encoding = Encoding{};
  encoding.mode = Mode::kCw;
  encoding.submode = 0;
  encoding.symbolPeriodSeconds = keying.dotSeconds;
  encoding.toneSpacingHz = keying.shiftHz;
  std::string typed(text);  // the core reads up to a NUL
  std::vector<std::uint8_t> durations(typed.size() * QVK_MOST_PER_CHARACTER + 1);
  qvc_report report;
  std::size_t count = qvk_morse_keying(typed.c_str(), durations.data(), durations.size(), &report);
  if (count == 0) return {false, "no character of the message has a Morse code"};
  for (char c : typed) {
    if (c == ' ' || c == '\t') {
      if (!encoding.decoded.empty() && encoding.decoded.back() != ' ') encoding.decoded += ' ';
    } else if (qvk_morse_code(c) != 0) {
      encoding.decoded += ascii::Upper(c);
    }
  }
  while (!encoding.decoded.empty() && encoding.decoded.back() == ' ') encoding.decoded.pop_back();
  encoding.message = encoding.decoded;
  if (report.changes & QVC_CHANGED_OUTSIDE_ALPHABET)
    encoding.notes.push_back("characters without a Morse code left out: sent as \"" +
                             encoding.decoded + "\"");
  for (std::size_t i = 0; i < count; ++i) {
    encoding.symbols.push_back(durations[i]);
    encoding.tones.insert(encoding.tones.end(), durations[i], i % 2 == 0 ? 1 : 0);
  }
  return {true, {}};
}

AudioResult RenderMorseAudio(const Encoding& encoding, const AudioOptions& options,
                             std::vector<std::int16_t>& samples) {
  samples.clear();
  if (encoding.tones.empty()) return {false, "the message has no keying to send"};
  const double top = options.baseFrequencyHz + encoding.toneSpacingHz;
  if (!(options.baseFrequencyHz > 0) || top >= kAudioSampleRate / 2.0)
    return {false, "the Morse tones would lie outside the audio band"};
  const double perDot = encoding.symbolPeriodSeconds * kAudioSampleRate;
  const std::size_t quiet = std::size_t(std::lround(kMorseQuietSeconds * kAudioSampleRate));
  const std::size_t keyed = std::size_t(std::llround(double(encoding.tones.size()) * perDot));
  const double edge = kMorseEdgeSeconds * kAudioSampleRate;
  const bool fsk = encoding.toneSpacingHz > 0;
  samples.assign(quiet + keyed + quiet, 0);

  // The key's state a sample at a time, its envelope following it over an edge's length.
  double phase = 0, envelope = 0;
  double rampFrom = 0, rampTo = 0, rampAt = edge;  // the current raised-cosine step
  for (std::size_t n = 0; n < keyed + quiet; ++n) {
    bool down = false;
    if (n < keyed) {
      std::size_t unit = std::min(encoding.tones.size() - 1, std::size_t(double(n) / perDot));
      down = encoding.tones[unit] == 1;
    }
    double wanted = fsk ? (n < keyed ? 1.0 : 0.0) : (down ? 1.0 : 0.0);
    if (wanted != rampTo) {
      rampFrom = envelope;
      rampTo = wanted;
      rampAt = 0;
    }
    if (rampAt < edge) {
      double share = (1 - std::cos(std::numbers::pi * rampAt / edge)) / 2;
      envelope = rampFrom + (rampTo - rampFrom) * share;
      rampAt += 1;
    } else {
      envelope = rampTo;
    }
    double frequency = options.baseFrequencyHz + (fsk && down ? encoding.toneSpacingHz : 0);
    samples[quiet + n] = std::int16_t(std::lround(0.8 * 32767 * envelope * std::sin(phase)));
    phase = std::fmod(phase + 2 * std::numbers::pi * frequency / kAudioSampleRate,
                      2 * std::numbers::pi);
  }
  return {true, {}};
}

}  // namespace modes
