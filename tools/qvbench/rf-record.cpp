// Reading the bench's record: carrier stretches, tones and symbols counted from durations (a
// firmware need not rewrite a tone that repeats), slots from the mode's period and start.
#include "tools/qvbench/rf-record.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "modes/audio.h"

namespace qvbench {
namespace {

struct Stretch {
  double from, to;
  std::vector<RfStep> steps;  // the frequency changes inside, the first at from
};

std::vector<Stretch> CarrierStretches(const std::vector<RfStep>& steps, double endUtc) {
  std::vector<Stretch> stretches;
  for (const RfStep& step : steps) {
    if (step.on && (stretches.empty() || stretches.back().to >= 0)) {
      stretches.push_back({step.utc, -1, {step}});
    } else if (step.on) {
      stretches.back().steps.push_back(step);
    } else if (!stretches.empty() && stretches.back().to < 0) {
      stretches.back().to = step.utc;
    }
  }
  if (!stretches.empty() && stretches.back().to < 0) stretches.back().to = endUtc;
  return stretches;
}

std::string Text(const char* format, double a, double b) {
  char text[160];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

Transmission Read(const Stretch& stretch, const modes::ModeInfo& mode) {
  Transmission sent;
  sent.startUtc = stretch.from;
  sent.endUtc = stretch.to;
  const double firstSlot = std::round((stretch.from - mode.startSeconds) / mode.periodSeconds);
  sent.slotUtc = firstSlot * mode.periodSeconds + mode.startSeconds;
  sent.lateSeconds = sent.startUtc - sent.slotUtc;
  if (std::abs(sent.lateSeconds) > kSlotToleranceSeconds)
    sent.faults.push_back(Text("it starts %.3f s from its slot (%.0f allowed)", sent.lateSeconds,
                               kSlotToleranceSeconds * 1000));
  sent.toneZeroHz = stretch.steps[0].hz;
  for (const RfStep& step : stretch.steps) sent.toneZeroHz = std::min(sent.toneZeroHz, step.hz);
  const double spacing = mode.baseToneSpacingHz;
  for (size_t i = 0; i < stretch.steps.size(); ++i) {
    const RfStep& step = stretch.steps[i];
    const double until = i + 1 < stretch.steps.size() ? stretch.steps[i + 1].utc : stretch.to;
    ToneRun run{step.utc, until - step.utc, step.hz, 0, 0};
    const double tone = (step.hz - sent.toneZeroHz) / spacing;
    run.tone = int(std::lround(tone));
    run.symbols = int(std::lround(run.seconds / mode.symbolPeriodSeconds));
    const double toneError = (tone - run.tone) * spacing;
    const double timeError = run.seconds - run.symbols * mode.symbolPeriodSeconds;
    sent.worstToneErrorHz = std::max(sent.worstToneErrorHz, std::abs(toneError));
    sent.worstSymbolErrorSeconds = std::max(sent.worstSymbolErrorSeconds, std::abs(timeError));
    if (std::abs(tone - run.tone) > kToneToleranceShare || run.tone >= mode.toneCount)
      sent.faults.push_back(
          Text("%.3f Hz lies off the tone grid (tone 0 at %.3f Hz)", step.hz, sent.toneZeroHz));
    if (run.symbols == 0 || std::abs(timeError) > kSymbolToleranceSeconds)
      sent.faults.push_back(Text("a tone lasts %.6f s, not a whole number of %.6f s symbols",
                                 run.seconds, mode.symbolPeriodSeconds));
    sent.runs.push_back(run);
    sent.tones.insert(sent.tones.end(), run.symbols, run.tone);
  }
  return sent;
}

}  // namespace

std::vector<Transmission> FindTransmissions(const std::vector<RfStep>& steps,
                                            const modes::ModeInfo& mode, double endUtc) {
  std::vector<Transmission> found;
  // The shortest transmission of a mode: WSPR sends 110.6 s of its 120, FT8 12.6 s of its 15.
  const double shortest = (mode.periodSeconds - 2 * mode.startSeconds) * 0.5;
  for (const Stretch& stretch : CarrierStretches(steps, endUtc)) {
    if (stretch.to - stretch.from >= shortest) {
      found.push_back(Read(stretch, mode));
    } else if (!found.empty() && stretch.to < endUtc) {  // not a transmission the run cut short
      if (found.back().keying.empty()) found.back().keyingHz = stretch.steps[0].hz;
      found.back().keying.emplace_back(stretch.from, stretch.to);
    }
  }
  return found;
}

std::vector<std::int16_t> RecordAudio(const std::vector<RfStep>& steps, double fromUtc,
                                      double seconds, double dialHz, double snrDb) {
  const size_t count = size_t(std::lround(seconds * modes::kAudioSampleRate));
  std::vector<double> track(count, 0.0);
  for (size_t i = 0; i < steps.size(); ++i) {
    const double until = i + 1 < steps.size() ? steps[i + 1].utc : fromUtc + seconds;
    const double hz = steps[i].on ? steps[i].hz - dialHz : 0;
    const double first =
        std::max(0.0, std::ceil((steps[i].utc - fromUtc) * modes::kAudioSampleRate));
    const double last =
        std::min(double(count), std::ceil((until - fromUtc) * modes::kAudioSampleRate));
    for (double n = first; n < last; ++n) track[size_t(n)] = hz;
  }
  modes::AudioOptions options;
  options.addNoise = !std::isnan(snrDb);
  options.snrDb = options.addNoise ? snrDb : 0;
  std::vector<std::int16_t> samples;
  modes::RenderKeyedTrack(track, options, samples);
  return samples;
}

std::string ClockText(double utc) {
  const double day = std::fmod(utc, 86400.0);
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%06.3f", int(day / 3600), int(day / 60) % 60,
                std::fmod(day, 60.0));
  return text;
}

}  // namespace qvbench
