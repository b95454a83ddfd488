// jt65code "MESSAGE": prints the JT65 encoding of one message as a listing (see listing.h).
#include <string>

#include "modes/jt65-encoder.h"
#include "platform/platform.h"
#include "tools/jt65code/listing.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    pf::WriteStandardError(" Usage: jt65code \"message\"\r\n");
    return 1;
  }
  std::string listing = jt65::FormatListing(jt65::EncodeMessage(argv[1]));
  if (!pf::WriteStandardOutput(listing)) {
    pf::WriteStandardError("jt65code: the listing could not be written\r\n");
    return 1;
  }
  return 0;
}
