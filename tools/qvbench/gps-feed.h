// What a GPS receiver tells a beacon each second: the NMEA sentences (RMC, then GGA) that name
// the UTC second its PPS pulse has just marked, with or without a position fix.
#pragma once

#include <string>

namespace qvbench {

// The sentences for the pulse at secondOfDay (0..86399), CR LF ended, checksums included. Without
// a fix the receiver still sends them, marked void (RMC status V, GGA quality 0).
std::string GpsSentences(int secondOfDay, bool fix);

}  // namespace qvbench
