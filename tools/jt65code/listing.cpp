// Formatting the encoder listing.
#include "tools/jt65code/listing.h"

#include <cstdio>

#include "modes/fixed-text.h"

namespace jt65 {
namespace {

// Control characters would break the listing into extra lines; they show as blanks.
std::string Printable(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  }
  return text;
}

void AddLine(std::string& listing, std::string_view line) {
  listing += TrimRight(line);
  listing += "\r\n";
}

std::string Numbers(const int* values, int count, int first_width) {
  std::string text;
  char field[8];
  for (int i = 0; i < count; ++i) {
    std::snprintf(field, sizeof field, "%*d", i == 0 ? first_width : 3, values[i]);
    text += field;
  }
  return text;
}

}  // namespace

std::string FormatListing(const Encoding& encoding) {
  std::string listing;
  AddLine(listing, "Message:   " + Printable(encoding.message));
  if (encoding.type == MessageType::kShorthand) {
    AddLine(listing, "Shorthand message.");
    return listing;
  }
  if (encoding.type == MessageType::kFreeText) AddLine(listing, "Plain text.");
  AddLine(listing, "Packed message, 6-bit symbols: " +
                       Numbers(encoding.data.data(), static_cast<int>(encoding.data.size()), 3));
  AddLine(listing, "Channel symbols, including FEC:");
  for (int row = 0; row < 3; ++row) AddLine(listing, Numbers(&encoding.channel[21 * row], 21, 5));
  AddLine(listing, "Decoded message: " + Printable(encoding.decoded));
  return listing;
}

}  // namespace jt65
