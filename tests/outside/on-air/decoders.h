// What the on-air tests share: a WAV file made by qvcode for a message (or by the library for tones
// captured from a simulated chip), and a run of WSJT-X's decoder for the mode over it, its decodes
// read back.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "modes/mode.h"

namespace testonair {

// Named as WSJT-X names its recordings (date_time), which both decoders read without complaint.
inline constexpr const char* kWavName = "260101_1200.wav";
// Noise for a weak but sure signal: jt9 does not decode JT65 that is free of noise.
inline constexpr double kSnrDb = -10;

struct Decode {
  double frequencyHz = 0;  // tone 0 (WSPR: the centre of the four tones)
  std::string message;
};

// Has qvcode write the audio of message at frequency to path, with noise; an error in words, or
// empty text.
std::string MakeWav(modes::Mode mode, char submode, const std::string& message, double frequency,
                    const std::string& path, int period = 0);
// The same for an encoding whose tones the caller has set; toneHz, when given, the audio frequency
// each tone number really has (a synthesiser's, the dial taken off).
std::string WriteWav(const modes::Encoding& encoding, double frequency, const std::string& path,
                     const std::vector<double>& toneHz = {});

// Runs the decoder in folder over its kWavName; its output is kept in folder/decoder.txt. A mode
// of several periods is decoded in `period` (0: its default); options go to the decoder as well.
std::vector<Decode> RunDecoder(modes::Mode mode, char submode, double frequency,
                               const std::string& folder, int period = 0,
                               const std::string& options = "");

std::string ReadText(const std::filesystem::path& path);

}  // namespace testonair
