// qvcode: a beacon's messages as symbol or tone tables in the syntax its firmware needs.
#include <cstdint>
#include <string>
#include <vector>

#include "modes/audio.h"
#include "modes/morse.h"
#include "modes/wav-file.h"
#include "platform/platform.h"
#include "qvcode/beacon-schedule.h"
#include "qvcode/files.h"
#include "qvcode/formats.h"
#include "qvcode/options.h"
#include "qvcode/targets.h"
#include "qvcode/visible-text.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// One line on standard error; what the user typed in it is shown safely.
void Say(const std::string& line) {
  pf::WriteStandardError("qvcode: " + qvcode::Visible(line) + "\n");
}

int UsageError(const std::string& what) {
  Say(what);
  pf::WriteStandardError("Try 'qvcode --help'.\n");
  return kExitUsage;
}

int Fail(const std::string& what) {
  Say(what);
  return kExitFailed;
}

qvcode::Run RunFor(const qvcode::Options& options) {
  qvcode::Run run;
  run.mode = options.mode;
  run.submode = *options.submode;
  run.period = options.period;
  run.sequence = options.sequence;
  run.packed = options.pack;
  run.valueBits = options.sequence == qvcode::Sequence::kSymbols ? options.mode->symbolBits
                                                                 : options.mode->toneBits;
  run.name = options.name;
  run.progmem = options.progmem;
  run.layout = options.layout;
  run.address = *options.address;
  run.morse = qvcode::MorseKeyingOf(options.beacon);
  return run;
}

int WriteAudio(const qvcode::Options& options, const qvcode::Table& table) {
  modes::AudioOptions audio;
  audio.baseFrequencyHz = options.frequencyHz.value_or(qvcode::kDefaultFrequencyHz);
  audio.addNoise = options.snrDb.has_value();
  audio.snrDb = options.snrDb.value_or(0);
  audio.seed = options.seed.value_or(qvcode::kDefaultSeed);
  std::vector<std::int16_t> samples;
  modes::AudioResult rendered = table.encoding.mode == modes::Mode::kCw
                                    ? modes::RenderMorseAudio(table.encoding, audio, samples)
                                    : modes::RenderAudio(table.encoding, audio, samples);
  if (!rendered.ok)
    return Fail("cannot render \"" + table.source.text + "\" as audio: " + rendered.error);
  Outcome written =
      qvcode::WriteOutput(options.wav, modes::WavFileBytes(samples, modes::kAudioSampleRate));
  return written.ok ? 0 : Fail(written.error);
}

std::string Where(const qvcode::Options& options, const qvcode::Message& message) {
  if (message.line == 0) return "";
  std::string file = *options.schedule == "-" ? "standard input" : *options.schedule;
  return file + " line " + std::to_string(message.line) + ": ";
}

Outcome ReadMessages(const qvcode::Options& options, std::vector<qvcode::Message>& messages) {
  if (!options.schedule) {
    for (const std::string& text : options.messages) messages.push_back({text, 0, {}});
    return qvcode::ShapeSchedule(messages, options.mode->mode);
  }
  const std::string& name = *options.schedule;
  std::string text;
  Outcome read = qvcode::ReadInput(name, &text);
  if (!read.ok) return read;
  std::string file = name == "-" ? "standard input" : name;
  Outcome parsed = qvcode::ParseSchedule(text, messages);
  if (!parsed.ok) return Outcome::Failed(file + " " + parsed.error);
  if (messages.empty()) return Outcome::Failed("the schedule " + file + " holds no message");
  Outcome shaped = qvcode::ShapeSchedule(messages, options.mode->mode);
  if (!shaped.ok) return Outcome::Failed(file + " " + shaped.error);
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  qvcode::Options options;
  Outcome parsed = qvcode::ParseCommandLine(arguments, options);
  if (!parsed.ok) return UsageError(parsed.error);
  if (options.help) return pf::WriteStandardOutput(qvcode::HelpText()) ? 0 : kExitFailed;
  if (options.version) return pf::WriteStandardOutput(qvcode::VersionText()) ? 0 : kExitFailed;

  std::vector<qvcode::Message> messages;
  if (Outcome read = ReadMessages(options, messages); !read.ok) return UsageError(read.error);

  qvcode::Run run = RunFor(options);
  std::vector<qvcode::Refusal> refusals;
  qvcode::BuildTables(messages, run, refusals);
  const std::string mode(run.mode->name);
  for (const qvcode::Refusal& refusal : refusals) {
    Say(Where(options, refusal.source) + "cannot encode \"" + refusal.source.text + "\" in " +
        mode);
    Say(refusal.reason);
  }
  // Whatever a mode changes in a message is said every time; --strict refuses it.
  bool changed = false;
  for (const qvcode::Table& table : run.tables) {
    for (const std::string& note : table.encoding.notes) {
      Say(Where(options, table.source) + (options.strict ? "refused: \"" : "warning: \"") +
          table.source.text + "\" in " + mode + ": " + note);
      changed = true;
    }
  }
  if (!refusals.empty() || (options.strict && changed)) return kExitFailed;
  if (!options.wav.empty()) return WriteAudio(options, run.tables.front());
  Outcome tuned = qvcode::TuneRun(options.beacon,
                                  options.frequencyHz.value_or(qvcode::kDefaultFrequencyHz), run);
  if (!tuned.ok) return Fail("cannot tune the synthesiser: " + tuned.error);

  const qvcode::Format& format = *options.format;
  if (options.verbose)
    pf::WriteStandardError(qvcode::MemoryReport(run, format) + qvcode::TuningReport(run));
  if (options.target != nullptr) {
    std::string misfit = qvcode::CheckFits(run, format, *options.target);
    if (!misfit.empty()) return Fail("does not fit: " + misfit);
  }
  Outcome written = qvcode::WriteOutput(options.output, qvcode::WriteTables(format, run));
  return written.ok ? 0 : Fail(written.error);
}
