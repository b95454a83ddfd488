// beacon.h for the example beacons: qvcode writes the tone table, the rest follows it in the
// same file as qvcode's C format lays out synthesiser rows and identifications.
#include "tests/on-air/beacon-header.h"

#include <cstdlib>
#include <filesystem>

#include "modes/core/cw/qvk-morse.h"
#include "qvcode/synthesisers.h"
#include "tests/on-air/decoders.h"
#include "tests/support/environment.h"
#include "tests/support/shell.h"
#include "tests/support/temp-folder.h"

namespace testonair {
namespace {

std::string Bytes(const std::vector<std::uint8_t>& bytes) {
  std::string text;
  for (std::uint8_t b : bytes) text += (text.empty() ? "" : ",") + std::to_string(b);
  return "{" + text + "}";
}

std::string Array(const std::string& name, const std::string& dimensions, const std::string& rows) {
  return "const unsigned char " + name + dimensions + " PROGMEM = {" + rows + "};\n";
}

}  // namespace

std::string WriteBeaconHeader(modes::Mode mode, const std::string& message,
                              const std::vector<double>& dialsHz, const std::string& identification,
                              const std::string& path) {
  const std::string command =
      testsupport::ShellQuote(testsupport::BinFolder() + "/qvcode") + " -m " +
      std::string(modes::InfoOf(mode).name) + " --sequence tones -f c --progmem -n BEACON -o " +
      testsupport::ShellQuote(path) + " -- " + testsupport::ShellQuote(message) + " 2>qvcode.txt";
  if (std::system(command.c_str()) != 0) return "qvcode failed: " + ReadText("qvcode.txt");
  std::string header = ReadText(path);
  header.erase(header.rfind("#endif"));

  modes::Encoding encoding;
  if (!modes::EncodeMessage(mode, 0, message, encoding).ok) return "cannot encode " + message;
  qvcode::Tuning tuning;
  const qvcode::Synthesiser& chip = *qvcode::FindSynthesiser("si5351");
  const Outcome tuned =
      qvcode::TuneBands(chip, 25e6, dialsHz, encoding, modes::InfoOf(mode).toneCount, 1500, tuning);
  if (!tuned.ok) return tuned.error;
  for (const char* line :
       {"TUNING_BYTES 8", "SETUP_BYTES 8", "SI5351_ADDRESS 0x60", "SI5351_TUNING_REGISTER 26",
        "SI5351_SETUP_REGISTER 42", "SI5351_CLK_CONTROL_REGISTER 16", "SI5351_CLK_CONTROL 0x4F",
        "SI5351_PLL_RESET_REGISTER 177", "SI5351_PLL_RESET 0x20", "SI5351_OUTPUT_ENABLE_REGISTER 3",
        "SI5351_OUTPUT_ENABLE 0xFE"})
    header += "#define BEACON_" + std::string(line) + "\n";
  const std::string bands = std::to_string(tuning.bands.size());
  header += "#define BEACON_BANDS " + bands + "\n";
  std::string setup, rows;
  for (const qvcode::BandTuning& band : tuning.bands) {
    setup += (setup.empty() ? "" : ",") + Bytes(band.setup);
    std::string tones;
    for (const qvcode::ToneTuning& t : band.tones)
      tones += (tones.empty() ? "" : ",") + Bytes(t.bytes);
    rows += (rows.empty() ? "{" : ",{") + tones + "}";
  }
  header += Array("BEACON_SETUP", "[" + bands + "][8]", setup);
  header += Array("BEACON_TUNING",
                  "[" + bands + "][" + std::to_string(tuning.bands[0].tones.size()) + "][8]", rows);

  if (!identification.empty()) {
    std::uint8_t durations[128];
    qvc_report report{};
    const size_t count =
        qvk_morse_keying(identification.c_str(), durations, sizeof durations - 1, &report);
    if (count == 0) return "no Morse for " + identification;
    std::vector<std::uint8_t> keying(durations, durations + count);
    keying.push_back(0);
    const std::string length = std::to_string(keying.size());
    header += "#define BEACON_CW_IDS 1\n#define BEACON_CW_LENGTH " + length +
              "\n#define BEACON_CW_DOT_MS 60\n";
    header += Array("BEACON_CW", "[1][" + length + "]", Bytes(keying));
    header += Array("BEACON_CW_AFTER", "[BEACON_MESSAGES]", "1");
  }
  testsupport::WriteFileBytes(path, header + "#endif\n");
  return "";
}

std::string BuildBeacon(const std::string& source, const std::string& mcu,
                        const std::string& flags) {
  std::error_code failed;
  std::filesystem::copy_file(std::filesystem::path(QUORVEL_SOURCE_DIR) / "examples" / source,
                             "beacon.c", std::filesystem::copy_options::overwrite_existing, failed);
  if (failed) return "cannot copy " + source + ": " + failed.message();
  const std::string build = "avr-gcc -mmcu=" + mcu + " -DF_CPU=16000000UL -Os -Wall -Wextra " +
                            "-Werror " + flags + " -o beacon.elf beacon.c >avr-gcc.txt 2>&1";
  if (std::system(build.c_str()) != 0) return "avr-gcc failed: " + ReadText("avr-gcc.txt");
  return "";
}

}  // namespace testonair
