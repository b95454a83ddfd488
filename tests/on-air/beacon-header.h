// The beacon.h the example beacons of examples/ build around, in the layout qvcode's C format
// gives it: the message's tone table from qvcode, the Si5351 rows of each band from qvcode's
// synthesiser arithmetic, and a Morse identification from the encoder core.
#pragma once

#include <string>
#include <vector>

#include "modes/mode.h"

namespace testonair {

// Writes path; an error in words, or empty text.
std::string WriteBeaconHeader(modes::Mode mode, const std::string& message,
                              const std::vector<double>& dialsHz, const std::string& identification,
                              const std::string& path);

// Copies examples/SOURCE here as beacon.c and builds beacon.elf around the beacon.h beside it,
// for mcu at 16 MHz, warnings as errors, with the -D flags given; avr-gcc's complaint, or empty text.
std::string BuildBeacon(const std::string& source, const std::string& mcu,
                        const std::string& flags);

}  // namespace testonair
