// beacon.h for the example beacons, as their READMEs have qvcode write it: a schedule of the
// message and its Morse identification, the tone sequence in C for AVR flash, and the Si5351's
// rows for each band of the plan.
#include "tests/outside/on-air/beacon-header.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/outside/on-air/decoders.h"
#include "tests/support/environment.h"
#include "tests/support/shell.h"

namespace testonair {

std::string WriteBeaconHeader(modes::Mode mode, const std::string& message,
                              const std::vector<double>& dialsHz, const std::string& identification,
                              const std::string& path) {
  std::ofstream("beacon.txt") << message << "\n"
                              << (identification.empty() ? "" : "cw: " + identification + "\n");
  std::string dials;
  for (double dial : dialsHz) dials += (dials.empty() ? "" : ",") + std::to_string(long(dial));
  const std::string command = testsupport::ShellQuote(testsupport::BinFolder() + "/qvcode") +
                              " -m " + std::string(modes::InfoOf(mode).name) +
                              " --sequence tones -f c --progmem -n BEACON --synth si5351 --dial " +
                              dials + " --schedule beacon.txt -o " + testsupport::ShellQuote(path) +
                              " 2>qvcode.txt";
  if (std::system(command.c_str()) != 0) return "qvcode failed: " + ReadText("qvcode.txt");
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
