// Models of the synthesisers, written from their datasheets apart from qvcode's arithmetic: the
// register bytes a firmware writes turned back into the frequency the chip makes, or why the chip
// would not make one. The tests hold qvcode's rows to these.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace testsynth {

struct Made {
  bool ok = false;
  double hz = 0;
  std::string why;  // when !ok
};

// a + b/c of an Si5351 PLL or MultiSynth from its eight registers: the application note's
// P1 = 128a + floor(128b/c) - 512 and P2 = 128b - c*floor(128b/c) give a + b/c = (P1 + 512 + P2/P3)/128.
inline double Si5351Ratio(const std::uint8_t* r) {
  std::uint32_t p3 = (std::uint32_t(r[5] >> 4) << 16) | (std::uint32_t(r[0]) << 8) | r[1];
  std::uint32_t p1 = (std::uint32_t(r[2] & 0x03) << 16) | (std::uint32_t(r[3]) << 8) | r[4];
  std::uint32_t p2 = (std::uint32_t(r[5] & 0x0F) << 16) | (std::uint32_t(r[6]) << 8) | r[7];
  return (p1 + 512.0 + double(p2) / p3) / 128.0;
}

// CLK0 from PLL A (registers 26-33: pll) through MultiSynth 0 and R0 (registers 42-49: ms).
inline Made Si5351Output(double crystalHz, const std::vector<std::uint8_t>& pll,
                         const std::vector<std::uint8_t>& ms) {
  if (pll.size() != 8 || ms.size() != 8) return {false, 0, "eight registers each"};
  double feedback = Si5351Ratio(pll.data());
  if (feedback < 15 || feedback > 90) return {false, 0, "PLL feedback outside 15 to 90"};
  double vco = crystalHz * feedback;
  if (vco < 600e6 || vco > 900e6) return {false, 0, "VCO outside 600 to 900 MHz"};
  bool divideBy4 = (ms[2] & 0x0C) == 0x0C;
  double divider = divideBy4 ? 4 : Si5351Ratio(ms.data());
  if (!divideBy4 && (divider < 6 || divider > 2048)) return {false, 0, "MultiSynth out of range"};
  // Integer mode (CLK0 control 0x4F) needs an even whole divider: P2 = 0.
  bool whole = (ms[5] & 0x0F) == 0 && ms[6] == 0 && ms[7] == 0 && std::fmod(divider, 2) == 0;
  if (!whole) return {false, 0, "MultiSynth 0 is not an even integer"};
  int r = 1 << ((ms[2] >> 4) & 0x07);
  return {true, vco / divider / r, {}};
}

// AD9850/AD9851 (W0, then the 32-bit word from the top): clock * word / 2^32, below Nyquist.
inline Made Ad985xOutput(double systemClockHz, const std::vector<std::uint8_t>& row,
                         bool multiplier) {
  if (row.size() != 5) return {false, 0, "five bytes"};
  if (((row[0] & 0x01) != 0) != multiplier) return {false, 0, "6x multiplier bit wrong"};
  if ((row[0] & 0x06) != 0) return {false, 0, "control bits must be 0"};
  std::uint32_t word = (std::uint32_t(row[1]) << 24) | (std::uint32_t(row[2]) << 16) |
                       (std::uint32_t(row[3]) << 8) | row[4];
  double hz = systemClockHz * word / 4294967296.0;
  if (hz >= systemClockHz / 2) return {false, 0, "above Nyquist"};
  return {true, hz, {}};
}

// AD9833 (two 16-bit writes to FREQ0, low 14 bits first, after a control word with B28 set):
// MCLK * word / 2^28.
inline Made Ad9833Output(double clockHz, const std::vector<std::uint8_t>& setup,
                         const std::vector<std::uint8_t>& row) {
  if (setup.size() != 2 || ((setup[0] << 8 | setup[1]) & 0xC000) != 0 ||
      ((setup[0] << 8 | setup[1]) & 0x2000) == 0)
    return {false, 0, "the control word must set B28"};
  if (row.size() != 4) return {false, 0, "four bytes"};
  std::uint16_t low = std::uint16_t(row[0] << 8 | row[1]),
                high = std::uint16_t(row[2] << 8 | row[3]);
  if ((low & 0xC000) != 0x4000 || (high & 0xC000) != 0x4000) return {false, 0, "not FREQ0"};
  std::uint32_t word = (std::uint32_t(high & 0x3FFF) << 14) | (low & 0x3FFF);
  double hz = clockHz * word / 268435456.0;
  if (hz >= clockHz / 2) return {false, 0, "above Nyquist"};
  return {true, hz, {}};
}

// A chip by its name: the frequency a row makes after the band's setup.
inline Made ModelOutput(const std::string& chip, double clockHz,
                        const std::vector<std::uint8_t>& setup,
                        const std::vector<std::uint8_t>& row) {
  if (chip == "si5351") return Si5351Output(clockHz, row, setup);
  if (chip == "ad9850") return Ad985xOutput(clockHz, row, false);
  if (chip == "ad9851") return Ad985xOutput(clockHz, row, true);
  if (chip == "ad9833") return Ad9833Output(clockHz, setup, row);
  return {false, 0, "no model of " + chip};
}

}  // namespace testsynth
