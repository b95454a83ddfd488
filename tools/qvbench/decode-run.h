// What WSJT-X's decoders (wsprd, jt9) and a Morse decoder (multimon-ng) make of the bench's
// audio: each run in a folder of its own, its lines read back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "modes/mode.h"

namespace qvbench {

struct Heard {
  std::string message;
  double audioHz = 0;  // WSPR: the centre of the four tones; FT8: tone 0
  double dtSeconds = 0;
  int snrDb = 0;
};

// One line of wsprd or jt9 output; false for a line that is not a decode.
bool ReadDecodeLine(const std::string& line, bool wspr, Heard& heard);

// Writes samples (one WSPR or FT8 period from its start) as a WAV file in folder and runs the
// mode's decoder over it. False with an error in words when the decoder cannot be run.
bool DecodePeriod(modes::Mode mode, const std::vector<std::int16_t>& samples,
                  const std::string& folder, std::vector<Heard>& heard, std::string& error);

// The text multimon-ng's Morse decoder reads in the audio, trimmed; false with an error when it cannot run.
bool DecodeMorse(const std::vector<std::int16_t>& samples, const std::string& folder,
                 std::string& text, std::string& error);

// True when a program of that name lies along PATH.
bool ProgramFound(const std::string& name);

}  // namespace qvbench
