// Fuzzes the JT65 encoder with any message: it must not fail, every symbol is six bits, packing
// and unpacking agree with themselves (the 72 bits come back whole from the data symbols and from
// the channel symbols, and the decoded text is the unpacking of those bits), the codeword is one
// of the Reed-Solomon code's, every step on the way back undoes its step exactly, and the listing
// the encoder prints converts into an include file of exactly its channel symbols.
// Decoded texts are not fixed points: a message that loses something on the way ("DE G0XYZ/7
// +01" decodes to "DE G0XYZ/7") may lose more when its decoded text is sent again, round after
// round, in the reference encoder as well; so that is not asked.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz-support.h"
#include "generator/stages.h"
#include "modes/fixed-text.h"
#include "modes/jt65-encoder.h"
#include "modes/message-format.h"
#include "platform/memory/memory-console.h"
#include "runtime/errors.h"
#include "runtime/process.h"
#include "tools/jt65code/listing.h"

namespace {

// Messages are at most 22 characters; a little more shows what happens to the rest.
constexpr size_t kLongestMessage = 40;

// The 72 bits alone: the message type beyond free text or not is not among them.
bool SameBits(const jt65::PackedMessage& a, const jt65::PackedMessage& b) {
  return a.call1 == b.call1 && a.call2 == b.call2 && a.field3 == b.field3;
}

bool AllSixBits(const int* symbols, size_t count) {
  return std::all_of(symbols, symbols + count, [](int s) { return s >= 0 && s < 64; });
}

// A codeword of the code is divisible by the generator: it vanishes at its roots alpha^3..alpha^53.
bool IsCodeword(const jt65::Codeword& codeword) {
  std::array<int, 63> power{};
  power[0] = 1;
  for (size_t i = 1; i < power.size(); ++i) power[i] = jt65::GfMultiply(power[i - 1], 2);
  for (size_t root = 3; root <= 53; ++root) {
    int sum = 0;
    for (size_t k = 0; k < codeword.size(); ++k)
      sum ^= jt65::GfMultiply(codeword[k], power[(root * k) % 63]);
    if (sum != 0) return false;
  }
  return true;
}

void CheckRoundTrips(const jt65::Encoding& encoding) {
  FUZZ_CHECK(AllSixBits(encoding.data.data(), encoding.data.size()));
  FUZZ_CHECK(AllSixBits(encoding.channel.data(), encoding.channel.size()));

  const jt65::OooSplit split = jt65::SplitOooFlag(encoding.message);
  const jt65::PackedMessage packed = jt65::PackMessage(split.message);
  FUZZ_CHECK(jt65::ToDataSymbols(packed) == encoding.data);
  FUZZ_CHECK(SameBits(jt65::FromDataSymbols(encoding.data), packed));

  const jt65::Codeword codeword = jt65::EncodeReedSolomon(encoding.data);
  FUZZ_CHECK(IsCodeword(codeword));
  FUZZ_CHECK(jt65::DataOfCodeword(codeword) == encoding.data);
  FUZZ_CHECK(jt65::Deinterleave(jt65::Interleave(codeword)) == codeword);
  FUZZ_CHECK(jt65::UndoGrayCode(jt65::GrayCode(codeword)) == codeword);
  FUZZ_CHECK(jt65::FromChannelSymbols(encoding.channel) == codeword);

  // The decoded text that a receiver shows is the unpacking of the bits that were sent.
  const std::string unpacked = jt65::UnpackMessage(packed);
  FUZZ_CHECK(unpacked.size() == jt65::kMessageLength);
  FUZZ_CHECK(jt65::DecodeChannelSymbols(encoding.channel) == unpacked);
}

// The include file made from the listing: its entries in order and its comment line.
struct Include {
  std::string entries;  // the two digits of each entry, one after the other
  std::string comment;
  bool foundSymbols = false;
};

Include ConvertPrintedListing(const std::string& listing) {
  fuzzsupport::WriteFile(fuzzsupport::InWorkFolder("JT65TEMP.TXT"), listing);
  OpenTextInput(kListingFile, fuzzsupport::InWorkFolder("JT65Temp.txt"), 128);
  OpenTextOutput(kIncludeFile, fuzzsupport::InWorkFolder("OUT.INC"));
  Include include;
  include.foundSymbols = ConvertListing().foundSymbols;
  CloseFile(kIncludeFile);
  std::string text = fuzzsupport::ReadFile(fuzzsupport::InWorkFolder("OUT.INC"));
  for (size_t at = text.find("d'"); at != std::string::npos; at = text.find("d'", at + 1))
    include.entries += text.substr(at + 2, 2);
  size_t comment = text.rfind("    ;");
  if (comment != std::string::npos) include.comment = text.substr(comment);
  return include;
}

std::string TwoDigits(const jt65::ChannelSymbols& channel) {
  std::string digits;
  for (int symbol : channel) digits += std::to_string(symbol / 10) + std::to_string(symbol % 10);
  return digits;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzsupport::MakeWorkFolder();
  memcon::Reset(80, 25);
  SetUpConsole();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = fuzzsupport::AsText(data, std::min(size, kLongestMessage));
  const jt65::Encoding encoding = jt65::EncodeMessage(text);
  FUZZ_CHECK(encoding.message.size() == jt65::kMessageLength);
  FUZZ_CHECK(encoding.decoded.size() == jt65::kMessageLength);

  const Include include = ConvertPrintedListing(jt65::FormatListing(encoding));
  if (encoding.type == jt65::MessageType::kShorthand) {
    FUZZ_CHECK(!include.foundSymbols);
    FUZZ_CHECK(include.entries.empty());
    return 0;
  }
  CheckRoundTrips(encoding);
  FUZZ_CHECK(include.entries == TwoDigits(encoding.channel));
  std::string decoded = " " + encoding.decoded;
  for (char& c : decoded)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  decoded.erase(decoded.find_last_not_of(' ') + 1);
  FUZZ_CHECK(include.comment == "    ;   " + UpperCase(decoded) + "\r\n");
  return 0;
}
