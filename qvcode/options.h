// The command line of qvcode: what to encode, in which mode and sequence, and how to write it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/outcome.h"
#include "modes/mode.h"
#include "qvcode/beacon-options.h"
#include "qvcode/sequence.h"

namespace qvcode {

struct Format;
struct Target;

// The audio's tone 0 (WSPR: the centre of its four tones), and the noise's seed, when not given.
constexpr double kDefaultFrequencyHz = 1500;
constexpr std::uint32_t kDefaultSeed = 1;

// What the command line says. After ParseCommandLine every field that has a default holds it:
// mode, submode (0 for a mode without submodes), period (0 for a mode of one period), format,
// layout, address and name.
struct Options {
  const modes::ModeInfo* mode = nullptr;
  std::optional<char> submode;
  int period = 0;  // seconds, of a mode with several periods
  Sequence sequence = Sequence::kSymbols;
  const Format* format = nullptr;
  bool pack = false;
  bool progmem = false;
  std::optional<std::uint32_t> address;  // Intel HEX start, in the layout's units
  Family layout = Family::kPic;          // whose memory layout a table is written in
  const Target* target = nullptr;
  std::string name;                     // the table's name in the output
  std::string output;                   // empty or "-": standard output
  std::optional<std::string> schedule;  // "-": standard input
  std::vector<std::string> messages;    // from the command line, when there is no schedule
  std::string wav;                      // write the message's audio to this file instead
  std::optional<double> frequencyHz;
  std::optional<double> snrDb;  // Gaussian noise at this ratio in 2500 Hz
  std::optional<std::uint32_t> seed;
  BeaconOptions beacon;  // the synthesiser and the Morse keying
  bool strict = false;   // refuse a message the mode would change
  bool verbose = false;
  bool help = false;
  bool version = false;
};

// Reads the arguments (without the program name) and settles defaults and cross-checks.
Outcome ParseCommandLine(const std::vector<std::string>& arguments, Options& options);

// A decimal number such as 1500, 1270.5, -10 or +5, as options take them.
std::optional<double> DecimalNumber(std::string_view text);

std::string HelpText();
std::string VersionText();

}  // namespace qvcode
