// NMEA 0183 sentences of a receiver standing still at one place, dated 1 January 2026.
#include "tools/qvbench/gps-feed.h"

#include <cstdio>

namespace qvbench {
namespace {

// "$BODY*HH\r\n": the checksum is the exclusive or of the body's characters.
std::string Sentence(const std::string& body) {
  unsigned checksum = 0;
  for (char c : body) checksum ^= static_cast<unsigned char>(c);
  char tail[8];
  std::snprintf(tail, sizeof tail, "*%02X\r\n", checksum);
  return "$" + body + tail;
}

}  // namespace

std::string GpsSentences(int secondOfDay, bool fix) {
  char time[40];
  std::snprintf(time, sizeof time, "%02d%02d%02d.00", secondOfDay / 3600, secondOfDay / 60 % 60,
                secondOfDay % 60);
  const std::string t = time;
  if (!fix)
    return Sentence("GPRMC," + t + ",V,,,,,,,010126,,,N") +
           Sentence("GPGGA," + t + ",,,,,0,00,99.9,,M,,M,,");
  return Sentence("GPRMC," + t + ",A,4124.8963,N,08151.6838,W,0.02,0.00,010126,,,A") +
         Sentence("GPGGA," + t + ",4124.8963,N,08151.6838,W,1,08,0.9,245.4,M,-34.1,M,,");
}

}  // namespace qvbench
