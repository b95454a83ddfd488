// The options of a beacon beyond its tables: the synthesiser that keys the tones (--synth, --clock,
// --dial, --band) and the Morse keying (--wpm, --qrss, --fsk). Each value is read by its own
// function so the command line's table only names them; the checks between them and the run's
// tuning come after parsing.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "modes/morse.h"
#include "qvcode/synthesisers.h"

namespace qvcode {

struct Run;

struct BeaconOptions {
  const Synthesiser* synth = nullptr;
  std::optional<double> clockHz;
  std::vector<double> dialsHz;  // from --dial or --band, in the order given
  bool fromBands = false;       // the dials came from --band
  std::optional<double> wpm;
  std::optional<double> qrssSeconds;
  std::optional<double> fskHz;
};

// The readers of the option values: each an error in words, or nothing.
std::optional<std::string> TakeSynth(std::string_view value, BeaconOptions& options);
std::optional<std::string> TakeClock(std::string_view value, BeaconOptions& options);
std::optional<std::string> TakeDials(std::string_view value, BeaconOptions& options);
std::optional<std::string> TakeBands(std::string_view value, BeaconOptions& options);
std::optional<std::string> TakeWpm(std::string_view value, BeaconOptions& options);
std::optional<std::string> TakeQrss(std::string_view value, BeaconOptions& options);
std::optional<std::string> TakeFsk(std::string_view value, BeaconOptions& options);

// The checks between these options and the mode and output; an error in words, or nothing.
std::optional<std::string> CheckBeacon(const BeaconOptions& options, modes::Mode mode, bool wav);

// The Morse keying the options ask for (20 WPM unless told).
modes::MorseKeying MorseKeyingOf(const BeaconOptions& options);

// After BuildTables: the synthesiser's rows for every tone of the run's mode on every dial, the
// tones at dial + audioHz as --wav places them. An error in words, or nothing.
std::optional<std::string> TuneRun(const BeaconOptions& options, double audioHz, Run& run);

// The help lines of these options.
std::string BeaconHelp();

}  // namespace qvcode
