// The Si5351 clock generator as the bench sees it: a register file written over I2C, and the
// frequency each output makes from it, worked out from the datasheet's formulas alone
// (PLL = crystal × (a + b/c), output = PLL / (MultiSynth a + b/c) / R). It knows nothing of how
// qvcode chose the registers, so it checks them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace qvbench {

inline constexpr std::uint8_t kSi5351Address = 0x60;  // seven-bit I2C address

struct Si5351 {
  double crystalHz = 25e6;
  std::array<std::uint8_t, 256> registers{};
};

// What one output makes: off, or on at a frequency; a setting the chip cannot make is a fault
// in words (and the output counts as off).
struct ClockOutput {
  bool on = false;
  double hz = 0;
  std::string fault;
};

// The chip as it powers up: every output disabled and powered down.
Si5351 Si5351AtPowerUp(double crystalHz);

ClockOutput Si5351Output(const Si5351& chip, int output);

// The PLL's frequency (0: PLL A, 1: PLL B) and the feedback ratio a + b/c it is set to.
double Si5351PllHz(const Si5351& chip, int pll, std::string& fault);

}  // namespace qvbench
