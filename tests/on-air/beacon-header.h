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

}  // namespace testonair
