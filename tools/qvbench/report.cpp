// The findings: each transmission's slot, tones and timing, its period rendered as audio for
// wsprd or jt9, its Morse for multimon-ng; printed as a short report, one block a transmission.
#include "tools/qvbench/report.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>

namespace qvbench {
namespace {

// A weak but sure signal, noise from a fixed seed: a decode is a property of the record.
constexpr double kSnrDb = -10;
// Where a transmitter's tone 0 sits above the dial, as a WSPR or FT8 beacon sets it up.
constexpr double kAudioHz = 1500;

double DialFor(const Transmission& sent, const modes::ModeInfo& mode,
               const std::vector<double>& dials) {
  double best = 0;
  for (double dial : dials)
    if (dial < sent.toneZeroHz && dial > best && sent.toneZeroHz - dial < 5000) best = dial;
  if (best > 0) return best;
  const double centre = mode.mode == modes::Mode::kWspr ? 1.5 * mode.baseToneSpacingHz : 0;
  return std::round(sent.toneZeroHz + centre - kAudioHz);
}

}  // namespace

Verdict Examine(const BenchSetup& setup, const BenchRecord& record, const ReportOptions& options) {
  const modes::ModeInfo& mode = modes::InfoOf(options.mode);
  const double endUtc = setup.startUtc + record.simulatedSeconds;
  Verdict verdict;
  verdict.ok = true;
  for (Transmission& sent : FindTransmissions(record.steps, mode, endUtc)) {
    Examined one;
    one.dialHz = DialFor(sent, mode, options.dialsHz);
    const double centre = options.mode == modes::Mode::kWspr ? 1.5 * mode.baseToneSpacingHz : 0;
    one.expectedAudioHz = sent.toneZeroHz + centre - one.dialHz;
    one.sent = std::move(sent);
    const Transmission& s = one.sent;
    if (!s.faults.empty()) verdict.ok = false;
    if (options.decode) {
      std::string error;
      const std::string folder =
          options.folder + "/" + std::to_string(verdict.transmissions.size());
      std::filesystem::create_directories(folder);
      const double periodStart = s.slotUtc - mode.startSeconds;
      if (!DecodePeriod(
              options.mode,
              RecordAudio(record.steps, periodStart, mode.periodSeconds, one.dialHz, kSnrDb),
              folder, one.heard, error))
        one.notes.push_back(error);
      else if (one.heard.empty())
        verdict.ok = false;
      if (!s.keying.empty()) {
        const double from = std::max(s.endUtc, s.keying.front().first - 0.5),
                     to = s.keying.back().second + 0.5;
        if (!DecodeMorse(RecordAudio(record.steps, from, to - from, one.dialHz,
                                     std::numeric_limits<double>::quiet_NaN()),
                         folder, one.morse, error))
          one.notes.push_back(error);
      }
    }
    verdict.transmissions.push_back(std::move(one));
  }
  if (verdict.transmissions.empty()) verdict.ok = false;
  return verdict;
}

Verdict PrintReport(const BenchSetup& setup, const BenchRecord& record,
                    const ReportOptions& options, std::FILE* out) {
  const modes::ModeInfo& mode = modes::InfoOf(options.mode);
  std::fprintf(out, "bench: %s on an %s at %.0f MHz; Si5351 (%.0f MHz crystal) CLK%d on I2C",
               std::filesystem::path(setup.firmware).filename().c_str(), setup.mcu.c_str(),
               setup.cpuHz / 1e6, setup.crystalHz / 1e6, setup.clockOutput);
  if (setup.gps) std::fprintf(out, "; GPS NMEA on USART0");
  if (setup.pps.port != 0)
    std::fprintf(out, "; pulse every %d s on P%c%d", setup.ppsEverySeconds, setup.pps.port,
                 setup.pps.bit);
  std::fprintf(out, "\nsimulated %s to %s (%.1f s) in %.1f s; %ld I2C writes, %ld bytes; chip %s\n",
               ClockText(setup.startUtc).c_str(),
               ClockText(setup.startUtc + record.simulatedSeconds).c_str(), record.simulatedSeconds,
               options.wallSeconds, record.i2cTransactions, record.i2cBytes, record.end.c_str());
  for (size_t i = 0; i < record.faults.size() && i < 3; ++i)
    std::fprintf(out, "Si5351 fault at %s\n", record.faults[i].c_str());
  if (record.faults.size() > 3)
    std::fprintf(out, "Si5351 faults: %zu more\n", record.faults.size() - 3);
  Verdict verdict = Examine(setup, record, options);
  int n = 0;
  for (const Examined& one : verdict.transmissions) {
    const Transmission& s = one.sent;
    std::fprintf(out, "\n%s transmission %d: starts %s, %+.3f ms from its slot %s; lasts %.3f s\n",
                 std::string(mode.name).c_str(), ++n, ClockText(s.startUtc).c_str(),
                 s.lateSeconds * 1000, ClockText(s.slotUtc).c_str(), s.endUtc - s.startUtc);
    std::fprintf(out,
                 "  %zu symbols of %.6f s (worst %.1f us off); tone 0 at %.3f Hz, spacing "
                 "%.6f Hz (worst %.4f Hz off)\n",
                 s.tones.size(), mode.symbolPeriodSeconds, s.worstSymbolErrorSeconds * 1e6,
                 s.toneZeroHz, mode.baseToneSpacingHz, s.worstToneErrorHz);
    std::fprintf(out, "  tones:");
    for (size_t i = 0; i < s.tones.size(); ++i)
      std::fprintf(out, "%s%d", i % 40 == 0 && i > 0 ? "\n         " : " ", s.tones[i]);
    std::fprintf(out, "\n");
    for (size_t i = 0; i < s.faults.size() && i < 3; ++i)
      std::fprintf(out, "  FAULT: %s\n", s.faults[i].c_str());
    if (s.faults.size() > 3) std::fprintf(out, "  FAULT: and %zu more\n", s.faults.size() - 3);
    if (!s.keying.empty())
      std::fprintf(out, "  then Morse: %zu key-down elements from %s to %s at %.3f Hz\n",
                   s.keying.size(), ClockText(s.keying.front().first).c_str(),
                   ClockText(s.keying.back().second).c_str(), s.keyingHz);
    std::fprintf(out, "  heard on a dial of %.0f Hz (expected at %.1f Hz audio):\n", one.dialHz,
                 one.expectedAudioHz);
    for (const Heard& heard : one.heard)
      std::fprintf(out, "    %s: \"%s\" at %.1f Hz, DT %+.1f s, SNR %d dB\n",
                   options.mode == modes::Mode::kWspr ? "wsprd" : "jt9", heard.message.c_str(),
                   heard.audioHz, heard.dtSeconds, heard.snrDb);
    if (options.decode && one.heard.empty() && one.notes.empty())
      std::fprintf(out, "    nothing decoded\n");
    if (!s.keying.empty() && options.decode)
      std::fprintf(out, "    multimon-ng (Morse): \"%s\"\n", one.morse.c_str());
    for (const std::string& note : one.notes) std::fprintf(out, "    (%s)\n", note.c_str());
  }
  if (verdict.transmissions.empty()) std::fprintf(out, "\nnothing was transmitted\n");
  std::fprintf(out, "\n%s\n",
               verdict.ok ? "verdict: every transmission kept to its mode" : "verdict: FAILED");
  return verdict;
}

}  // namespace qvbench
