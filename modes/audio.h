// The sound of a transmission: an encoding's tone sequence rendered as the mode sends it, 12000
// samples a second, over one whole transmit/receive period, with optional Gaussian noise for
// simulating a weak signal.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "modes/mode.h"

namespace modes {

inline constexpr int kAudioSampleRate = 12000;

struct AudioOptions {
  // Tone 0 of the mode; for WSPR the centre of its four tones, as a WSPR transmitter is set up.
  double baseFrequencyHz = 1500;
  bool addNoise = false;
  double snrDb = 0;        // signal to noise ratio in a 2500 Hz bandwidth, when adding noise
  std::uint32_t seed = 1;  // the same seed gives the same noise
  // When not empty, the audio frequency of each tone number as a synthesiser really makes it
  // (held, not smoothed), in place of the base frequency and the mode's spacing.
  std::vector<double> toneHz;
};

struct AudioResult {
  bool ok = false;
  std::string error;  // in words, when !ok
};

// Where a mode's tone lies above the base frequency of AudioOptions, in Hz: tone * spacing, but for
// WSPR, whose base is the centre of its four tones.
double ToneOffsetHz(Mode mode, double spacingHz, int tone);

// The whole period, silence (or noise) included, the tones placed where the mode starts them in
// its period. Phase-continuous; FT8 and FT4 with their Gaussian frequency smoothing.
AudioResult RenderAudio(const Encoding& encoding, const AudioOptions& options,
                        std::vector<std::int16_t>& samples);

// Audio of a frequency given sample by sample, 0 where the key is up (silence); the key's edges
// shaped over 5 ms, the level and the noise as RenderAudio makes them. A transmitter's output
// heard through a receiver, for one.
AudioResult RenderKeyedTrack(const std::vector<double>& trackHz, const AudioOptions& options,
                             std::vector<std::int16_t>& samples);

}  // namespace modes
