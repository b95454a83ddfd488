// A WSPR message as 50 source bits: n1 (28 bits) and n2 (22 bits), in one of three forms:
//   type 1  CALL GRID4 POWER         "K1ABC FN42 37"
//   type 2  PFX/CALL POWER or CALL/SFX POWER   "PJ4/K1ABC 37", "K1ABC/P 37"
//   type 3  <CALL> GRID6 POWER       "<PJ4/K1ABC> FK52UD 37", the call sent as its 15-bit hash
// The encoder core packs it, reading the text as the reference encoder reads it; here what it
// changed quietly (a power rounded, a prefix cut) is said in a note, and what it cannot encode
// is refused with the reason in words.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "modes/bits.h"
#include "modes/core/wspr/qvw-wspr.h"

namespace wspr {

enum class MessageType { kCallGridPower = 1, kCompoundCall = 2, kHashedCall = 3 };

struct SourceMessage {
  std::uint32_t n1 = 0;  // 28 bits: the call, or for type 3 the 6-character grid
  std::uint32_t n2 = 0;  // 22 bits: grid, prefix/suffix or hash, then 7 bits of power and type
};

struct Packing {
  bool ok = false;
  std::string error;  // why the text cannot be sent, when !ok
  MessageType type = MessageType::kCallGridPower;
  std::string message;  // the 22 characters as read
  SourceMessage source;
  int power = 0;  // dBm, as sent
  std::vector<std::string> notes;
};

Packing PackMessage(std::string_view text);

// What the encoder core's packing of a text says, in words.
Packing PackingOf(const qvw_message& core, const qvc_report& report);

// The power levels WSPR can send end in 0, 3 or 7 and lie from 0 to 60 dBm; anything else is
// clamped to that range and moved to the nearest level.
int RoundPower(int dbm);

// The text a receiver prints for a message, without trailing blanks. A type 3 call shows as
// "<...>": only a receiver that heard the call in full before knows it.
std::string UnpackMessage(const SourceMessage& source);

// n1 then n2, most significant bit first; and back.
modes::Bits SourceBits(const SourceMessage& source);
SourceMessage FromSourceBits(const modes::Bits& bits);

}  // namespace wspr
