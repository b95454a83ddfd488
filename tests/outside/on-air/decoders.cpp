// The decoder runs of the on-air tests, and the audio they decode made through the library.
#include "tests/outside/on-air/decoders.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "modes/audio.h"
#include "modes/wav-file.h"
#include "tests/support/environment.h"
#include "tests/support/shell.h"
#include "tools/qvbench/decode-run.h"

namespace testonair {
namespace {

// A decode line as qvbench reads it.
bool ParseLine(const std::string& line, bool wspr, Decode& decode) {
  qvbench::Heard heard;
  if (!qvbench::ReadDecodeLine(line, wspr, heard)) return false;
  decode.frequencyHz = heard.audioHz;
  decode.message = heard.message;
  return true;
}

std::string DecoderArguments(modes::Mode mode, char submode, double frequency, int period) {
  std::string letter(1, submode);
  // FST4, FST4W and Q65 look for the signal within a narrow window around -f.
  std::string window =
      " -p " + std::to_string(period) + " -f " + std::to_string(int(frequency)) + " -F 10";
  switch (mode) {
    case modes::Mode::kJt65:
      return "jt9 -6 -b " + letter;
    case modes::Mode::kJt9:
      return "jt9 -9";
    case modes::Mode::kJt4:
      return "jt9 -4 -b " + letter + " -f " + std::to_string(int(frequency));
    case modes::Mode::kFt8:
      return "jt9 -8";
    case modes::Mode::kFt4:
      return "jt9 -5";
    case modes::Mode::kWspr:
      return "wsprd";
    case modes::Mode::kFst4w:
      return "jt9 -W" + window;
    case modes::Mode::kFst4:
      return "jt9 -7" + window;
    case modes::Mode::kQ65:
      return "jt9 -3 -b " + letter + window;
    case modes::Mode::kCw:
      break;
  }
  return "false";
}

}  // namespace

std::string WriteWav(const modes::Encoding& encoding, double frequency, const std::string& path,
                     const std::vector<double>& toneHz) {
  modes::AudioOptions options;
  options.toneHz = toneHz;
  options.baseFrequencyHz = frequency;
  options.addNoise = true;
  options.snrDb = kSnrDb;
  std::vector<std::int16_t> samples;
  modes::AudioResult result = modes::RenderAudio(encoding, options, samples);
  if (!result.ok) return result.error;
  std::ofstream(path, std::ios::binary) << modes::WavFileBytes(samples, modes::kAudioSampleRate);
  return "";
}

std::string MakeWav(modes::Mode mode, char submode, const std::string& message, double frequency,
                    const std::string& path, int period) {
  std::string command =
      testsupport::BinFolder() + "/qvcode --mode " + std::string(modes::InfoOf(mode).name);
  if (submode != 0) command += std::string(" --submode ") + submode;
  if (period != 0) command += " --period " + std::to_string(period);
  command += " --wav " + testsupport::ShellQuote(path) + " --frequency " +
             std::to_string(frequency) + " --snr " + std::to_string(kSnrDb) + " -- " +
             testsupport::ShellQuote(message) + " 2>qvcode.txt";
  if (std::system(command.c_str()) != 0) return "qvcode failed: " + ReadText("qvcode.txt");
  return "";
}

std::vector<Decode> RunDecoder(modes::Mode mode, char submode, double frequency,
                               const std::string& folder, int period, const std::string& options) {
  if (const modes::ModePeriod* known = modes::FindPeriod(modes::InfoOf(mode), period))
    period = known->seconds;
  std::string command = "cd " + testsupport::ShellQuote(folder) + " && timeout 120 " +
                        DecoderArguments(mode, submode, frequency, period) + " " + options + " " +
                        kWavName + " >decoder.txt 2>&1";
  std::system(command.c_str());
  std::vector<Decode> decodes;
  std::istringstream lines(ReadText(std::filesystem::path(folder) / "decoder.txt"));
  for (std::string line; std::getline(lines, line);)
    if (Decode decode; ParseLine(line, mode == modes::Mode::kWspr, decode))
      decodes.push_back(decode);
  return decodes;
}

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

}  // namespace testonair
