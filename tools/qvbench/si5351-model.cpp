// The Si5351's frequencies from its registers. A divider is stored as three parameters
// P1 = 128a + floor(128b/c) - 512, P2 = 128b - c·floor(128b/c), P3 = c, so its ratio is
// a + b/c = (P1 + 512 + P2/P3) / 128 exactly; the ranges checked are the datasheet's.
#include "tools/qvbench/si5351-model.h"

#include <cstdio>

namespace qvbench {
namespace {

// Register maps of the datasheet: the PLL feedback dividers at 26 (A) and 34 (B), the output
// MultiSynths at 42 + 8n, output control at 16 + n, output disable bits at 3.
constexpr int kPllBase[2] = {26, 34};
constexpr int kMultiSynthBase = 42;
constexpr int kClockControl = 16;
constexpr int kOutputDisable = 3;

struct Divider {
  std::uint32_t p1, p2, p3;
};

Divider ReadDivider(const Si5351& chip, int base) {
  const auto& r = chip.registers;
  Divider d;
  d.p3 = (std::uint32_t(r[base + 5] >> 4) << 16) | (std::uint32_t(r[base]) << 8) | r[base + 1];
  d.p1 =
      (std::uint32_t(r[base + 2] & 0x03) << 16) | (std::uint32_t(r[base + 3]) << 8) | r[base + 4];
  d.p2 =
      (std::uint32_t(r[base + 5] & 0x0F) << 16) | (std::uint32_t(r[base + 6]) << 8) | r[base + 7];
  return d;
}

double Ratio(const Divider& d) {
  return (d.p1 + 512.0 + double(d.p2) / d.p3) / 128.0;
}

std::string Text(const char* format, double value) {
  char text[120];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

Si5351 Si5351AtPowerUp(double crystalHz) {
  Si5351 chip;
  chip.crystalHz = crystalHz;
  chip.registers[kOutputDisable] = 0xFF;
  for (int n = 0; n < 8; ++n) chip.registers[kClockControl + n] = 0x80;
  return chip;
}

double Si5351PllHz(const Si5351& chip, int pll, std::string& fault) {
  Divider d = ReadDivider(chip, kPllBase[pll]);
  if (d.p3 == 0) {
    fault = "the PLL's denominator c is 0";
    return 0;
  }
  double ratio = Ratio(d);
  if (ratio < 15 || ratio > 90) {
    fault = Text("the PLL's feedback ratio %.6f lies outside 15..90", ratio);
    return 0;
  }
  double hz = chip.crystalHz * ratio;
  if (hz < 600e6 || hz > 900e6) {
    fault = Text("the PLL runs at %.0f Hz, outside 600..900 MHz", hz);
    return 0;
  }
  return hz;
}

ClockOutput Si5351Output(const Si5351& chip, int output) {
  const auto& r = chip.registers;
  const std::uint8_t control = r[kClockControl + output];
  ClockOutput out;
  if ((r[kOutputDisable] >> output) & 1 || (control & 0x80)) return out;  // disabled, powered down
  if ((control & 0x0C) != 0x0C) {
    out.fault = "the output is not fed from its MultiSynth";
    return out;
  }
  if (r[15] & 0x0C) {
    out.fault = "the PLLs are not fed from the crystal";
    return out;
  }
  const int base = kMultiSynthBase + 8 * output;
  const double pllHz = Si5351PllHz(chip, (control >> 5) & 1, out.fault);
  if (pllHz == 0) return out;
  double ratio;
  if ((r[base + 2] & 0x0C) == 0x0C) {
    ratio = 4;  // the divide-by-4 setting
  } else {
    Divider d = ReadDivider(chip, base);
    if (d.p3 == 0) {
      out.fault = "the MultiSynth's denominator c is 0";
      return out;
    }
    ratio = Ratio(d);
    if (ratio < 8 || ratio > 2048) {
      out.fault = Text("the MultiSynth ratio %.6f lies outside 8..2048", ratio);
      return out;
    }
    if ((control & 0x40) && d.p2 != 0) {
      out.fault = "the MultiSynth is set to integer mode with a fraction";
      return out;
    }
  }
  const int rDivider = 1 << ((r[base + 2] >> 4) & 0x07);
  out.hz = pllHz / ratio / rDivider;
  if (out.hz > 200e6) {
    out.fault = Text("the output would run at %.0f Hz, above 200 MHz", out.hz);
    out.hz = 0;
    return out;
  }
  out.on = true;
  return out;
}

}  // namespace qvbench
