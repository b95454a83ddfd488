// Morse for the host: the core's keying of a text as an Encoding (durations as its symbols, one
// key state a dot unit as its tones) and its sound, plain on/off keying with shaped edges or
// two-frequency FSK-CW, at any dot length from fast CW to QRSS.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "modes/audio.h"
#include "modes/mode.h"

namespace modes {

struct MorseKeying {
  double dotSeconds = 0.06;  // 20 words a minute
  double shiftHz = 0;        // FSK-CW: key down (tone 1) this far above key up (tone 0); 0: on/off
};

// "cw": not among AllModes. Symbols: durations in dot units (3 bits pack them); tones: key states.
const ModeInfo& MorseInfo();

// The dot length at a speed in words per minute (PARIS timing: fifty dot units a word).
double DotSecondsAt(double wordsPerMinute);

// Keys a text: symbols the on/off durations in dot units from key down, tones 1 (key down) or 0
// (key up) a dot unit, decoded the text as it goes out (upper case, one blank between words).
EncodeResult EncodeMorse(std::string_view text, const MorseKeying& keying, Encoding& encoding);

// Raised-cosine edges of this length on every key down and key up of on/off keying.
inline constexpr double kMorseEdgeSeconds = 0.005;
// Silence before and after the keying.
inline constexpr double kMorseQuietSeconds = 0.5;

// The keying as audio at options.baseFrequencyHz (FSK-CW: key up there, key down the shift
// above), 12000 samples a second; noise is not added to Morse.
AudioResult RenderMorseAudio(const Encoding& encoding, const AudioOptions& options,
                             std::vector<std::int16_t>& samples);

}  // namespace modes
