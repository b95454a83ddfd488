// The command line of qvcode: what to encode, in which mode and sequence, and how to write it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "modes/mode.h"

namespace qvcode {

enum class Sequence { kSymbols, kTones };

struct Format;
struct Target;

struct Options {
  const modes::ModeInfo* mode = nullptr;
  char submode = 0;  // 0: the mode's default
  int period = 0;    // seconds, of a mode with several periods; 0: the mode's default
  Sequence sequence = Sequence::kSymbols;
  const Format* format = nullptr;
  bool pack = false;
  bool progmem = false;
  bool hasAddress = false;
  std::uint32_t address = 0;
  const Target* target = nullptr;
  std::string name;      // the table's name in the output; empty: made from mode and sequence
  std::string output;    // empty: standard output
  std::string schedule;  // empty: the messages come from the command line; "-": standard input
  bool hasSchedule = false;
  std::vector<std::string> messages;
  std::string wav;            // write the message's audio to this file instead of a table
  double frequencyHz = 1500;  // the audio's tone 0 (WSPR: the centre of its four tones)
  bool hasFrequency = false;
  bool addNoise = false;  // Gaussian noise at snrDb in 2500 Hz, from seed
  double snrDb = 0;
  std::uint32_t seed = 1;
  bool hasSeed = false;
  bool verbose = false;
  bool help = false;
  bool version = false;
};

struct ParseResult {
  bool ok = true;
  std::string error;  // what is wrong with the command line, in words
};

ParseResult ParseCommandLine(const std::vector<std::string>& arguments, Options& options);

std::string HelpText();
std::string VersionText();

}  // namespace qvcode
