// The decoder runs: a WAV file named as WSJT-X names its recordings (date_time, which both of its
// decoders read without complaint), the decoder started by the shell, its output kept beside.
#include "tools/qvbench/decode-run.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "modes/audio.h"
#include "modes/wav-file.h"

namespace qvbench {
namespace {

constexpr const char* kWavName = "260101_1200.wav";

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string Trim(const std::string& text) {
  size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

bool Run(const std::vector<std::int16_t>& samples, const std::string& folder,
         const std::string& program, const std::string& arguments, std::string& output,
         std::string& error) {
  if (!ProgramFound(program)) {
    error = program + " is not installed";
    return false;
  }
  std::ofstream(folder + "/" + kWavName, std::ios::binary)
      << modes::WavFileBytes(samples, modes::kAudioSampleRate);
  const std::string command = "cd " + Quote(folder) + " && timeout 120 " + program + " " +
                              arguments + " " + kWavName + " >decoder.txt 2>&1";
  std::system(command.c_str());
  output = ReadAll(folder + "/decoder.txt");
  return true;
}

}  // namespace

bool ProgramFound(const std::string& name) {
  return std::system(("command -v " + Quote(name) + " >/dev/null 2>&1").c_str()) == 0;
}

// A decode line: time, SNR, DT, frequency, then (wsprd) the drift or (jt9) the mode's mark, then
// the message; jt9 may add flag columns after a wide gap.
bool ReadDecodeLine(const std::string& line, bool wspr, Heard& heard) {
  std::istringstream fields(line);
  std::string time, snr, dt, frequency, fifth;
  if (!(fields >> time >> snr >> dt >> frequency >> fifth) || time.starts_with("<")) return false;
  std::string rest;
  std::getline(fields, rest);
  rest = Trim(rest);
  if (wspr) {
    // wsprd right-aligns the power in two columns: "W9XYZ EN37  0".
    for (size_t gap; (gap = rest.find("  ")) != std::string::npos;) rest.erase(gap, 1);
  } else if (size_t gap = rest.find("  "); gap != std::string::npos) {
    rest = rest.substr(0, gap);
  }
  char* end = nullptr;
  const double value = std::strtod(frequency.c_str(), &end);
  if (*end != '\0' || rest.empty()) return false;
  heard.audioHz = wspr ? value * 1e6 : value;
  heard.dtSeconds = std::strtod(dt.c_str(), nullptr);
  heard.snrDb = std::atoi(snr.c_str());
  heard.message = rest;
  return true;
}

bool DecodePeriod(modes::Mode mode, const std::vector<std::int16_t>& samples,
                  const std::string& folder, std::vector<Heard>& heard, std::string& error) {
  const bool wspr = mode == modes::Mode::kWspr;
  std::string output;
  if (!Run(samples, folder, wspr ? "wsprd" : "jt9", wspr ? "" : "-8", output, error)) return false;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);)
    if (Heard one; ReadDecodeLine(line, wspr, one)) heard.push_back(one);
  return true;
}

bool DecodeMorse(const std::vector<std::int16_t>& samples, const std::string& folder,
                 std::string& text, std::string& error) {
  std::string output;
  if (!ProgramFound("sox")) {
    error = "sox is not installed (multimon-ng reads WAV files through it)";
    return false;
  }
  if (!Run(samples, folder, "multimon-ng", "-q -a MORSE_CW -t wav", output, error)) return false;
  text = Trim(output);
  return true;
}

}  // namespace qvbench
