// The Si5351's registers for a mode's tones, by the formulas of its datasheet and application note.
// The plan: PLL A feeds MultiSynth 0, which drives CLK0. MultiSynth 0 divides by a fixed even
// integer (4 through its divide-by-4 mode, else 6 to 2048, in integer mode for the lowest jitter)
// and the R0 divider by 1 to 128 (only below about 293 kHz); both are chosen once a band, the
// divider as large as keeps the VCO at or under 900 MHz for the highest tone, so each step of the
// PLL's fraction moves the output as little as it can. Every tone then lives in the PLL's feedback
// a + b/c alone: changing tone rewrites the PLL's eight registers 26-33 (and of those, 26 and 27
// hold c, the same for every tone) with no PLL reset, the output never stops. One denominator c
// serves all tones of a band: from 1048575 down, the one whose tones keep their distances from
// tone 0 the most exact (to 0.1 mHz), then the one with tone 0 nearest its place, the search
// ending at one with tone 0 within 1 mHz.
#include <cmath>
#include <cstdio>

#include "qvcode/synthesisers.h"

namespace qvcode {
namespace {

constexpr double kVcoLowHz = 600e6;
constexpr double kVcoHighHz = 900e6;
constexpr double kOutputLowHz = 8e3;
constexpr double kOutputHighHz = 200e6;
constexpr std::uint32_t kLargestDenominator = 1048575;  // 20 bits
constexpr int kLargestDivider = 2048;
constexpr int kLargestR = 128;

// The eight registers of a PLL or MultiSynth in the application note's order, from a + b/c.
std::vector<std::uint8_t> Registers(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
  std::uint32_t floor128 = std::uint32_t((std::uint64_t(128) * b) / c);
  std::uint32_t p1 = 128 * a + floor128 - 512;
  std::uint32_t p2 = 128 * b - c * floor128;
  std::uint32_t p3 = c;
  return {std::uint8_t(p3 >> 8),
          std::uint8_t(p3),
          std::uint8_t((p1 >> 16) & 0x03),
          std::uint8_t(p1 >> 8),
          std::uint8_t(p1),
          std::uint8_t(((p3 >> 12) & 0xF0) | ((p2 >> 16) & 0x0F)),
          std::uint8_t(p2 >> 8),
          std::uint8_t(p2)};
}

struct Fraction {
  std::uint32_t a = 0, b = 0, c = 1;
};

// Tone t's feedback with denominator c, rounded to the nearest step.
Fraction FeedbackFor(double ratio, std::uint32_t c) {
  double whole = std::floor(ratio);
  double b = std::round((ratio - whole) * c);
  Fraction f{std::uint32_t(whole), std::uint32_t(b), c};
  if (f.b == c) f = {f.a + 1, 0, c};
  return f;
}

}  // namespace

Outcome TuneSi5351(const Synthesiser&, double clockHz, BandTuning& band) {
  double lowHz = band.tones.front().wantedHz, highHz = lowHz;
  for (const ToneTuning& tone : band.tones) {
    lowHz = std::min(lowHz, tone.wantedHz);
    highHz = std::max(highHz, tone.wantedHz);
  }
  if (lowHz < kOutputLowHz || highHz > kOutputHighHz)
    return Outcome::Failed("the Si5351 makes " + HzText(kOutputLowHz) + " to " +
                           HzText(kOutputHighHz) + "; the tones would lie from " + HzText(lowHz) +
                           " to " + HzText(highHz));
  int r = 1;
  while (r < kLargestR && lowHz * r * kLargestDivider < kVcoLowHz) r *= 2;
  int divider = int(std::floor(kVcoHighHz / (highHz * r)));
  divider = std::min(divider - divider % 2, kLargestDivider);
  if (divider < 4 || lowHz * r * divider < kVcoLowHz)
    return Outcome::Failed(
        "no even MultiSynth divider keeps the Si5351's VCO within 600 to 900 MHz for tones from " +
        HzText(lowHz) + " to " + HzText(highHz));
  const double outputDivision = double(divider) * r;

  // The ratio each tone needs of the PLL, and the c that keeps the tones' distances best.
  std::vector<double> ratios;
  for (const ToneTuning& tone : band.tones)
    ratios.push_back(tone.wantedHz * outputDivision / clockHz);
  if (ratios.front() < 15 || ratios.back() >= 90)
    return Outcome::Failed(
        "the Si5351's PLL multiplies its clock 15 to 90 times; these tones need " +
        std::to_string(ratios.front()) + " times");
  const std::size_t last = ratios.size() - 1;
  const double span = ratios[last] - ratios[0];
  double bestSpacing = 1e300, bestFirst = 1e300;
  std::uint32_t bestC = kLargestDenominator;
  // Distances exact to a tenth of a millihertz at the output are as exact as any use needs, and
  // count as equal; among those, tone 0 within a millihertz of its place ends the search.
  const double exactEnough = 1e-4 * outputDivision / clockHz;
  for (std::uint32_t c = kLargestDenominator;
       c >= 1 && (bestSpacing > exactEnough || bestFirst > 10 * exactEnough); --c) {
    // The last tone's distance from tone 0 is a whole number of steps: a bound no rounding beats.
    double steps = span * c;
    double bound = std::fabs(steps - std::round(steps)) / c;
    if (std::max(bound, exactEnough) > bestSpacing) continue;
    Fraction first = FeedbackFor(ratios[0], c);
    double firstMade = first.a + double(first.b) / c;
    double spacing = 0;
    for (std::size_t t = 1; t <= last && spacing <= bestSpacing; ++t) {
      Fraction f = FeedbackFor(ratios[t], c);
      double distance = (f.a + double(f.b) / c) - firstMade;
      spacing = std::max(spacing, std::fabs(distance - (ratios[t] - ratios[0])));
    }
    spacing = std::max(spacing, exactEnough);
    double firstError = std::fabs(firstMade - ratios[0]);
    if (spacing < bestSpacing || (spacing == bestSpacing && firstError < bestFirst)) {
      bestSpacing = spacing;
      bestFirst = firstError;
      bestC = c;
    }
  }

  for (ToneTuning& tone : band.tones) {
    Fraction f = FeedbackFor(tone.wantedHz * outputDivision / clockHz, bestC);
    tone.bytes = Registers(f.a, f.b, f.c);
    tone.madeHz = clockHz * (f.a + double(f.b) / f.c) / outputDivision;
  }
  int rBits = 0;
  while ((1 << rBits) < r) ++rBits;
  // Divide-by-4 mode sets MS0_DIVBY4 (bits 3:2 of register 44) with P1 = P2 = 0 and P3 = 1.
  band.setup = divider == 4 ? std::vector<std::uint8_t>{0, 1, 0x0C, 0, 0, 0, 0, 0}
                            : Registers(std::uint32_t(divider), 0, 1);
  band.setup[2] = std::uint8_t(band.setup[2] | (rBits << 4));
  char plan[200];
  std::snprintf(plan, sizeof plan,
                "PLL A at %.3f to %.3f MHz (a + b/%u), MultiSynth 0 divides by %d, R0 by %d",
                band.tones.front().madeHz * outputDivision / 1e6,
                band.tones.back().madeHz * outputDivision / 1e6, unsigned(bestC), divider, r);
  band.plan = plan;
  return {};
}

}  // namespace qvcode
