// The options of a beacon beyond its tables: the synthesiser that keys the tones (--synth, --clock,
// --dial, --band) and the Morse keying (--wpm, --qrss, --fsk). Each value is read by its own
// function, which the option table names; the checks between them and the run's tuning come after
// parsing.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/outcome.h"
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

// The readers of the option values.
Outcome TakeSynth(std::string_view value, BeaconOptions& options);
Outcome TakeClock(std::string_view value, BeaconOptions& options);
Outcome TakeDials(std::string_view value, BeaconOptions& options);
Outcome TakeBands(std::string_view value, BeaconOptions& options);
Outcome TakeWpm(std::string_view value, BeaconOptions& options);
Outcome TakeQrss(std::string_view value, BeaconOptions& options);
Outcome TakeFsk(std::string_view value, BeaconOptions& options);

// The checks between these options, the mode and the kind of output.
Outcome CheckBeacon(const BeaconOptions& options, modes::Mode mode, bool wav);

// The Morse keying the options ask for (20 WPM unless told).
modes::MorseKeying MorseKeyingOf(const BeaconOptions& options);

// After BuildTables: the synthesiser's rows for every tone of the run's mode on every dial, the
// tones at dial + audioHz as --wav places them.
Outcome TuneRun(const BeaconOptions& options, double audioHz, Run& run);

// The rows' frequencies and errors in words, a line a tone, for standard error.
std::string TuningReport(const Run& run);

}  // namespace qvcode
