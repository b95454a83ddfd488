// The rows of the mode table beyond what mode.h shows: each mode's encode entry, how its tones
// are keyed into a frequency over time, and how its submodes space the tones. mode.cpp holds the
// one table; the library's own files read these facts through here.
#pragma once

#include <array>
#include <string_view>

#include "modes/mode.h"

namespace modes {

// How a mode turns its tones into a frequency over time, beyond the symbol period and spacing.
struct Keying {
  double firstToneOffset = 0;  // in spacings: WSPR's base frequency is the centre of its 4 tones
  double bandwidthTime = 0;    // Gaussian smoothing; 0 holds each tone for its whole symbol
  bool carryEndTones = false;  // the first and last tones smoothed as if they went on
  int edgeSamples = 0;         // raised-cosine edge at each end
  double edgeSymbols = 0;      // the same as a share of a symbol, where it follows the period
};

// Fills encoding (mode, submode and physical layer already set) with the message's encoding.
using EncodeEntry = EncodeResult (*)(std::string_view text, Encoding& encoding);

struct ModeRow {
  ModeInfo info;
  EncodeEntry encode = nullptr;
  Keying keying = {};
  // The spacing of each submode (in the order of info.submodes) in base spacings; a mode
  // without submodes uses the first.
  std::array<int, 7> spacingSteps = {1};
};

// The row of a mode; nullptr for a value that is no mode.
const ModeRow* RowOf(Mode mode);

}  // namespace modes
