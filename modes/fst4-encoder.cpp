// The FST4 and FST4W encoders: the text packed (FST4W by the core's own packer, FST4 by the 77-bit
// packer), the frame made by the core, and the core's status put into words.
#include "modes/fst4-encoder.h"

#include <algorithm>
#include <string>

#include "modes/core/fst4/qvs-fst4.h"
#include "modes/ft-encoder.h"
#include "modes/message77.h"

namespace fst4 {
namespace {

// Bits 50-76 of a WSPR-style 77-bit message are the same for every FST4W message: zeros, then
// n3 = 6 and i3 = 0.
constexpr std::string_view kFst4wTail = "000000000000000000000110000";

std::string Word(std::string_view text, const qvc_report& report) {
  return std::string(text.substr(report.word_start, report.word_length));
}

std::string Refusal(std::string_view text, const qvc_report& report) {
  std::string word = "\"" + Word(text, report) + "\"";
  switch (report.status) {
    case QVC_EMPTY_MESSAGE:
      return "the message is empty";
    case QVS_BAD_CALL:
      return word + " is not a call FST4W can send";
    case QVS_BAD_AFFIX:
      return word +
             ": FST4W sends a prefix of 1 to 3 letters and digits, or a suffix of 1 to 3 (of "
             "three, the last a digit)";
    case QVS_BAD_POWER:
      return word + " is not a power: FST4W sends dBm as one or two digits";
    case QVS_BAD_LOCATOR:
      return word + " is not a locator: AA00 to RR99 (or AA00AA to RR99XX after a <CALL>)";
    default:
      return "\"" + std::string(text) +
             "\" is not an FST4W message: FST4W sends \"CALL GRID dBm\", \"PFX/CALL dBm\" or "
             "\"CALL/SFX dBm\", and \"<CALL> GRID\"";
  }
}

void KeyFrame(const std::uint8_t* tones, modes::Encoding& encoding) {
  encoding.tones.assign(tones, tones + QVS_TONES);
  for (int k = 0; k < QVS_DATA_TONES; ++k) encoding.symbols.push_back(tones[8 + k + 8 * (k / 30)]);
}

}  // namespace

modes::EncodeResult EncodeFst4w(std::string_view text, modes::Encoding& encoding) {
  // The text as the 77-bit packer reads it (cut, upper case, single blanks), for the notes.
  ft::Message77 normalised;
  ft::PackMessage77(text, normalised);
  encoding.message = normalised.text;
  const std::string input(text);
  // The 50 bits land in the first bytes of a 77-bit buffer, so they read as the 77-bit packer's.
  std::uint8_t bits[10] = {};
  static_assert(QVS_FST4W_BYTES <= sizeof bits);
  qvc_report report;
  if (qvs_fst4w_pack(input.c_str(), bits, nullptr, &report) != QVC_OK)
    return {false, Refusal(text, report)};
  encoding.sourceBits = ft::UnpackedBits77(bits);
  encoding.sourceBits.resize(QVS_FST4W_BITS);
  modes::Bits bits77 = encoding.sourceBits;
  for (char bit : kFst4wTail) bits77.push_back(bit == '1');
  // The calls a receiver shows in full: the one sent whole, and that of "<CALL> GRID", which
  // its station sends whole in its other messages. A hashed word of "CALL GRID dBm" stays <...>.
  ft::CallBook book;
  std::string_view first = std::string_view(normalised.text).substr(0, normalised.text.find(' '));
  if (first.size() > 2 && first.front() == '<' && first.back() == '>') {
    if (std::count(normalised.text.begin(), normalised.text.end(), ' ') == 1)
      book.Add(first.substr(1, first.size() - 2));
  } else {
    book.Add(first);
  }
  std::string why;
  std::optional<std::string> decoded = ft::UnpackMessage77(bits77, book, &why);
  if (!decoded) return {false, "\"" + normalised.text + "\" cannot be sent: " + why};
  encoding.decoded = *decoded;
  if (report.changes & QVS_CHANGED_CALL_HASHED)
    encoding.notes.push_back("\"" + Word(text, report) +
                             "\" is not a standard call: its hash goes out, which a receiver "
                             "shows as <...> until it has heard the call in full");
  if (encoding.decoded != encoding.message)
    encoding.notes.push_back("sent as \"" + encoding.decoded + "\"");
  std::uint8_t tones[QVS_TONES];
  qvs_fst4w_tones(bits, tones);
  KeyFrame(tones, encoding);
  return {true, {}};
}

modes::EncodeResult EncodeFst4(std::string_view text, modes::Encoding& encoding) {
  modes::EncodeResult result = ft::PackForAir(text, encoding);
  if (!result.ok) return result;
  std::uint8_t tones[QVS_TONES];
  qvs_fst4_tones(ft::PackedBits77(encoding.sourceBits).data(), tones);
  const modes::Bits& bits = encoding.sourceBits;
  if (modes::ReadBits(bits, 71, 6) == 0b110000) {
    // A WSPR-style message goes out in FST4W's frame: its first 50 bits.
    encoding.sourceBits.resize(QVS_FST4W_BITS);
    encoding.notes.push_back(
        "a WSPR-style message goes out as an FST4W frame: FST4W receivers decode it, FST4 ones "
        "do not");
  }
  KeyFrame(tones, encoding);
  return result;
}

}  // namespace fst4
