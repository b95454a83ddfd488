// The bench's record read as a beacon's work: the transmissions in it (where each starts against
// its slot, its symbols' tones and durations), the Morse keying after each, and the record as
// the audio a receiver tuned to the dial would hear.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "modes/mode.h"
#include "tools/qvbench/bench.h"

namespace qvbench {

// How closely the bench holds a beacon to its mode.
inline constexpr double kSlotToleranceSeconds = 0.010;  // the start against its slot
// Each symbol's duration: a synthesiser's writes of different lengths (a tone's row, the output
// enable) shift its edges by a few bytes' time on the bus.
inline constexpr double kSymbolToleranceSeconds = 5e-4;
inline constexpr double kToneToleranceShare = 0.05;  // a tone off its grid, in tone spacings

// A stretch of one frequency inside a transmission.
struct ToneRun {
  double utc, seconds, hz;
  int tone;     // (hz - the lowest tone) in tone spacings, rounded
  int symbols;  // seconds in symbol periods, rounded
};

struct Transmission {
  double startUtc = 0, endUtc = 0;
  double slotUtc = 0;      // the start of the nearest slot of the mode
  double lateSeconds = 0;  // start - slot
  double toneZeroHz = 0;   // the lowest frequency sent
  std::vector<ToneRun> runs;
  std::vector<int> tones;  // one a symbol
  double worstToneErrorHz = 0;
  double worstSymbolErrorSeconds = 0;
  std::vector<std::string> faults;  // what breaks the mode's rules, in words
  // The keying after the transmission and before the next one: key-down stretches.
  std::vector<std::pair<double, double>> keying;
  double keyingHz = 0;
};

// Splits the record (ending at endUtc) into transmissions of the mode: stretches of carrier at
// least half as long as the mode's; the shorter ones after a transmission are its keying.
std::vector<Transmission> FindTransmissions(const std::vector<RfStep>& steps,
                                            const modes::ModeInfo& mode, double endUtc);

// Audio at 12000 samples a second of the record from fromUtc for seconds, as a receiver on
// dialHz hears it (upper sideband): frequencies less the dial, key edges shaped over 5 ms,
// and Gaussian noise (seeded) when snrDb is not NaN.
std::vector<std::int16_t> RecordAudio(const std::vector<RfStep>& steps, double fromUtc,
                                      double seconds, double dialHz, double snrDb);

// "12:02:01.000" for a second of the day.
std::string ClockText(double utc);

}  // namespace qvbench
