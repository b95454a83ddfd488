// qvcode: a beacon's messages as symbol or tone tables in the syntax its firmware needs.
#include <cstdint>
#include <string>
#include <vector>

#include "modes/audio.h"
#include "modes/wav-file.h"
#include "platform/platform.h"
#include "qvcode/files.h"
#include "qvcode/formats.h"
#include "qvcode/options.h"
#include "qvcode/targets.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

int UsageError(const std::string& what) {
  pf::WriteStandardError("qvcode: " + what + "\nTry 'qvcode --help'.\n");
  return kExitUsage;
}

int Failure(const std::string& what) {
  pf::WriteStandardError("qvcode: " + what + "\n");
  return kExitFailed;
}

std::string DefaultName(const qvcode::Run& run) {
  return qvcode::ModeLabel(run) +
         (run.sequence == qvcode::Sequence::kSymbols ? "_SYMBOLS" : "_TONES");
}

qvcode::Run RunFor(const qvcode::Options& options) {
  qvcode::Run run;
  run.mode = options.mode;
  // A mode without submodes (WSPR) keeps submode 0.
  run.submode = options.submode != 0             ? options.submode
                : options.mode->submodes.empty() ? 0
                                                 : options.mode->submodes[0];
  // A mode of several periods names its period, the default where none is given.
  if (const modes::ModePeriod* period = modes::FindPeriod(*options.mode, options.period))
    run.period = period->seconds;
  run.sequence = options.sequence;
  run.packed = options.pack;
  run.valueBits = options.sequence == qvcode::Sequence::kSymbols ? options.mode->symbolBits
                                                                 : options.mode->toneBits;
  run.name = options.name.empty() ? DefaultName(run) : options.name;
  run.progmem = options.progmem;
  run.avrLayout = options.format->name == "eep" ||
                  (options.target != nullptr && options.target->family == qvcode::Family::kAvr);
  run.address = options.hasAddress ? options.address : run.avrLayout ? 0 : 0x2100;
  return run;
}

int WriteAudio(const qvcode::Options& options, const qvcode::Table& table) {
  modes::AudioOptions audio;
  audio.baseFrequencyHz = options.frequencyHz;
  audio.addNoise = options.addNoise;
  audio.snrDb = options.snrDb;
  audio.seed = options.seed;
  std::vector<std::int16_t> samples;
  modes::AudioResult rendered = modes::RenderAudio(table.encoding, audio, samples);
  if (!rendered.ok)
    return Failure("cannot render \"" + table.source.text + "\" as audio: " + rendered.error);
  std::string error;
  if (!qvcode::WriteWhole(options.wav, modes::WavFileBytes(samples, modes::kAudioSampleRate),
                          &error))
    return Failure(error);
  return 0;
}

std::string Where(const qvcode::Options& options, const qvcode::Message& message) {
  if (message.line == 0) return "";
  std::string file = options.schedule == "-" ? "standard input" : options.schedule;
  return file + " line " + std::to_string(message.line) + ": ";
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  qvcode::Options options;
  qvcode::ParseResult parsed = qvcode::ParseCommandLine(arguments, options);
  if (!parsed.ok) return UsageError(parsed.error);
  if (options.help) return pf::WriteStandardOutput(qvcode::HelpText()) ? 0 : kExitFailed;
  if (options.version) return pf::WriteStandardOutput(qvcode::VersionText()) ? 0 : kExitFailed;

  std::vector<qvcode::Message> messages;
  if (options.hasSchedule) {
    std::string text, error;
    if (!qvcode::ReadInput(options.schedule, &text, &error)) return UsageError(error);
    messages = qvcode::ParseSchedule(text);
    if (messages.empty())
      return UsageError("the schedule " + options.schedule + " holds no message");
  } else {
    for (const std::string& text : options.messages) messages.push_back({text, 0});
  }

  qvcode::Run run = RunFor(options);
  std::vector<qvcode::Failure> failures;
  qvcode::BuildTables(messages, run, failures);
  for (const qvcode::Failure& failure : failures) {
    pf::WriteStandardError("qvcode: " + Where(options, failure.source) + "cannot encode \"" +
                           failure.source.text + "\" in " + std::string(run.mode->name) + "\n" +
                           "qvcode: " + failure.reason + "\n");
  }
  if (!failures.empty()) return kExitFailed;
  if (!options.wav.empty()) return WriteAudio(options, run.tables.front());

  if (options.verbose) pf::WriteStandardError(qvcode::MemoryReport(run, options.format->memory));
  if (options.target != nullptr) {
    std::string misfit = qvcode::CheckFits(run, options.format->memory, *options.target);
    if (!misfit.empty()) return Failure("does not fit: " + misfit);
  }

  std::string text = options.format->write(run);
  if (options.output.empty()) {
    if (!pf::WriteStandardOutput(text)) return Failure("standard output cannot be written");
    return 0;
  }
  std::string error;
  if (!qvcode::WriteWhole(options.output, text, &error)) return Failure(error);
  return 0;
}
