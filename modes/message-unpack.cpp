// Unpacking 72 bits back to text: the calls, the third field, the type 1 add-on hidden in it, the
// CQ/QRZ/DE words with free-form add-ons, and the fix-ups that undo the CQ rewrites.
#include "modes/callsign.h"
#include "modes/compound-call.h"
#include "modes/field3.h"
#include "modes/fixed-text.h"
#include "modes/free-text.h"
#include "modes/packed-message.h"

namespace jt65 {
namespace {

std::string Trimmed(const std::string& text) {
  return std::string(TrimRight(text));
}

// "CQ/QRZ/DE" + a call with a free-form add-on, or plain "DE" + a call.
std::string AssembleLeadMessage(const UnpackedCall& lead, std::string call2, int field3) {
  std::string grid = UnpackField3(field3);
  std::string add_on = Trimmed(lead.add_on);
  std::string call = Trimmed(call2);
  switch (lead.lead) {
    case CallLead::kCqPrefix:
      return Fixed("CQ " + add_on + "/" + call + " " + grid, 22);
    case CallLead::kQrzPrefix:
      return Fixed("QRZ " + add_on + "/" + call + " " + grid, 22);
    case CallLead::kDePrefix:
      return Fixed("DE " + add_on + "/" + call + " " + grid, 22);
    case CallLead::kCqSuffix:
      return Fixed("CQ " + call + "/" + add_on + " " + grid, 22);
    case CallLead::kQrzSuffix:
      return Fixed("QRZ " + call + "/" + add_on + " " + grid, 22);
    case CallLead::kDeSuffix:
      return Fixed("DE " + call + "/" + add_on + " " + grid, 22);
    default:
      break;
  }
  // Plain DE: a type 1 add-on can only be the second call's, and then no locator is shown.
  int k = ListAddOnCode(field3);
  if (k >= 451 && k <= 900) return Fixed("DE " + Trimmed(ApplyListAddOn(k, call2)), 22);
  return Fixed("DE " + call + " " + grid, 22);
}

// A word cut at a NUL that is not at its very start, as a C string would end there.
void CutAtNul(std::string& word) {
  std::size_t nul = word.find('\0');
  if (nul != std::string::npos && nul >= 2) word = Fixed(word.substr(0, nul), 12);
}

// Lays out call 1, call 2 and, unless a type 1 add-on took its place, the third field, each
// followed by a blank, never writing past the 22nd position.
std::string AssembleStandardMessage(const std::string& call1, bool cq_frequency,
                                    const std::string& call2, const std::string& grid,
                                    bool show_grid) {
  std::string m(kMessageLength, ' ');
  std::size_t used = 0;
  auto put = [&](char c) {
    if (used < kMessageLength) ++used;
    m[used - 1] = c;
  };
  auto put_word = [&](const std::string& word) {
    for (char c : word) {
      put(c);
      if (c == ' ') return;
    }
    put(' ');
  };
  if (cq_frequency) {
    m = Fixed(call1, kMessageLength);
    used = 7;
  } else {
    put_word(call1);
  }
  put_word(call2);
  if (show_grid) {
    for (char c : grid) put(c);
    put(' ');
  }
  return m;
}

std::string UnpackStructured(const PackedMessage& packed) {
  UnpackedCall first = UnpackCall(packed.call1);
  std::string call2 = UnpackCall(packed.call2).word;
  if (first.lead != CallLead::kNone) return AssembleLeadMessage(first, call2, packed.field3);

  std::string call1 = first.word;
  if (packed.call1 == kCqValue) call1 = Fixed("CQ", 12);
  if (packed.call1 == kQrzValue) call1 = Fixed("QRZ", 12);
  int frequency = packed.call1 - kCqFrequencyValue;
  bool cq_frequency = frequency >= 0 && frequency <= 999;
  if (cq_frequency) {
    call1 = Fixed(std::string("CQ ") + static_cast<char>('0' + frequency / 100) +
                      static_cast<char>('0' + frequency / 10 % 10) +
                      static_cast<char>('0' + frequency % 10),
                  12);
  }

  int k = ListAddOnCode(packed.field3);
  if (k >= 1 && k <= 450) call1 = ApplyListAddOn(k, call1);
  if (k >= 451 && k <= 900) call2 = ApplyListAddOn(k, call2);
  CutAtNul(call1);
  CutAtNul(call2);
  return AssembleStandardMessage(call1, cq_frequency, call2, UnpackField3(packed.field3), k == 0);
}

// Undoes the CQ rewrites of packing: CQ9DX, E9 + two letters, and CQ 00n.
std::string FixUp(std::string m) {
  if (m.compare(0, 6, "CQ9DX ") == 0) m[2] = ' ';
  if (m.compare(0, 2, "E9") == 0 && IsLetter(m[2]) && IsLetter(m[3]) && m[4] == ' ') {
    m = Fixed("CQ " + m.substr(2), kMessageLength);
  }
  if (m.compare(0, 5, "CQ 00") == 0 && IsDigit(m[5]))
    m = Fixed("CQ " + m.substr(5), kMessageLength);
  return m;
}

}  // namespace

std::string UnpackMessage(const PackedMessage& packed) {
  bool free_text = (packed.field3 & kFreeTextFlag) != 0;
  return FixUp(free_text ? UnpackFreeText(packed) : UnpackStructured(packed));
}

}  // namespace jt65
