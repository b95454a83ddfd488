// The example beacons of examples/ for a test: the beacon.h they build around, as qvcode writes it
// (the message's tones, the Si5351's rows for each band, a Morse identification), and their build.
#pragma once

#include <string>
#include <vector>

#include "modes/mode.h"

namespace testonair {

// Has qvcode write path; qvcode's complaint, or empty text.
std::string WriteBeaconHeader(modes::Mode mode, const std::string& message,
                              const std::vector<double>& dialsHz, const std::string& identification,
                              const std::string& path);

// Copies examples/SOURCE here as beacon.c and builds beacon.elf around the beacon.h beside it,
// for mcu at 16 MHz, warnings as errors, with the -D flags given; avr-gcc's complaint, or empty text.
std::string BuildBeacon(const std::string& source, const std::string& mcu,
                        const std::string& flags);

}  // namespace testonair
