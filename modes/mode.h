// One entry point for every WSJT beacon mode: the table of modes with their physical layer, and the
// encoding of one message into its source bits, channel symbols and transmitted tone sequence.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace modes {

// Morse (kCw) is keyed by modes/morse.h and is not among AllModes, whose modes WSJT-X knows.
enum class Mode { kJt65, kJt9, kJt4, kWspr, kFt8, kFt4, kFst4w, kFst4, kQ65, kCw };

// One transmit/receive period of a mode that has several: its symbol length follows from it.
struct ModePeriod {
  int seconds;
  int samplesPerSymbol;  // at 12000 samples a second
  double startSeconds;   // where the first tone starts within the period
};

struct ModeInfo {
  Mode mode;
  std::string_view name;       // lower case, as typed on a command line: "jt65"
  std::string_view submodes;   // the submode letters, the default first: "ABC"
  double symbolPeriodSeconds;  // one channel symbol on the air
  double baseToneSpacingHz;    // submode A; the others multiply it (ToneSpacingHz)
  int toneCount;               // distinct tones the transmitter plays
  int symbolBits;              // bits each channel symbol carries: the limit for packing
  int toneBits;                // bits each tone of the whole sequence needs when packed
  double periodSeconds;        // the transmit/receive period
  double startSeconds;         // where the first tone starts within the period
  // The periods of a mode that has several, shortest first; the default is the one whose figures
  // the fields above hold. Empty for a mode of one period.
  std::span<const ModePeriod> periods = {};
};

// Every mode, in the order of the Mode enumeration.
std::span<const ModeInfo> AllModes();
const ModeInfo* FindMode(std::string_view name);  // case-insensitive; nullptr when unknown
const ModeInfo& InfoOf(Mode mode);

// The tone spacing of a submode (a letter of ModeInfo::submodes, either case); 0 when the mode has
// no such submode.
double ToneSpacingHz(const ModeInfo& info, char submode);

// The period of that many seconds of a mode, or its default for 0; nullptr when it has no such
// period. A mode of one period answers with nullptr for every other figure too.
const ModePeriod* FindPeriod(const ModeInfo& info, int seconds);

struct Encoding {
  Mode mode = Mode::kJt65;
  char submode = 'A';
  std::string message;                   // the text as the mode took it (normalised, cut)
  std::string decoded;                   // what a receiver prints for these symbols, trimmed
  std::vector<std::uint8_t> sourceBits;  // the packed message, one bit a byte, first bit first
  std::vector<int> symbols;              // the information-carrying channel symbols
  std::vector<int> tones;                // the whole transmitted sequence, sync included
  double periodSeconds = 0;              // the transmit/receive period
  double symbolPeriodSeconds = 0;
  double toneSpacingHz = 0;
  std::vector<std::string> notes;  // what the mode changed in the message, in words
};

struct EncodeResult {
  bool ok = false;
  std::string error;  // why the message cannot be sent in this mode, in words, when !ok
};

// Encodes one message in a mode and submode (submode 0 takes the mode's default).
EncodeResult EncodeMessage(Mode mode, char submode, std::string_view text, Encoding& encoding);
// The same in a period of a mode that has several (0: the default period).
EncodeResult EncodeMessage(Mode mode, char submode, int periodSeconds, std::string_view text,
                           Encoding& encoding);

}  // namespace modes
