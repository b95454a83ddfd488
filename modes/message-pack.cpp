// Packing a message: the CQ rewrites, the split into three fields, and the order of checks that
// makes it a standard message, a compound-call message or free text.
#include <algorithm>
#include <optional>

#include "modes/callsign.h"
#include "modes/compound-call.h"
#include "modes/field3.h"
#include "modes/fixed-text.h"
#include "modes/free-text.h"
#include "modes/message-format.h"
#include "modes/packed-message.h"

namespace jt65 {
namespace {

bool StartsWith(const std::string& text, std::string_view start) {
  return text.compare(0, start.size(), start) == 0;
}

// "CQ 5" becomes "CQ 005", "CQ DX" the callsign "CQ9DX", and "CQ NA" (two letters) the callsign
// "E9NA"; the decoder turns them back.
std::string RewriteCq(std::string m) {
  if (StartsWith(m, "CQ ") && IsDigit(m[3]) && m[4] == ' ') m = Fixed("CQ 00" + m.substr(3), 22);
  if (StartsWith(m, "CQ DX ")) m[2] = '9';
  if (StartsWith(m, "CQ ") && IsLetter(m[3]) && IsLetter(m[4]) && m[5] == ' ') {
    m = Fixed("E9" + m.substr(3), 22);
  }
  return m;
}

struct Fields {
  std::string call1;   // 12 characters
  std::string call2;   // 12 characters
  std::string field3;  // 4 characters
};

// The three fields, or nothing when the message lacks the blanks that end them. "CQ nnn" is one
// field; its end is taken to lie after the digits, blank or not.
std::optional<Fields> SplitFields(const std::string& m) {
  std::size_t end1;
  if (StartsWith(m, "CQ ")) {
    end1 = IsDigit(m[3]) && IsDigit(m[4]) && IsDigit(m[5]) ? 6 : 2;
  } else {
    end1 = m.find(' ');
    if (end1 == std::string::npos) return std::nullopt;
  }
  std::size_t end2 = m.find(' ', end1 + 1);
  if (end2 == std::string::npos) return std::nullopt;
  std::size_t end3 = m.find(' ', end2 + 1);
  if (end3 == std::string::npos) return std::nullopt;
  Fields fields{Fixed(m.substr(0, end1), 12), Fixed(m.substr(end1 + 1, end2 - end1 - 1), 12),
                Fixed(m.substr(end2 + 1, end3 - end2), 4)};
  if (fields.field3 == "OOO ") fields.field3 = "    ";
  return fields;
}

// The first-field value of "CQ/QRZ/DE + call with a free-form add-on", or 0 when the first field
// is no such word.
std::int32_t FreeAddOnLead(const std::string& call1, AddOnKind kind, int k) {
  bool prefix = kind == AddOnKind::kFreePrefix;
  if (StartsWith(call1, "CQ ")) return (prefix ? kCqPrefixBase : kCqSuffixBase) + k;
  if (StartsWith(call1, "QRZ ")) return (prefix ? kQrzPrefixBase : kQrzSuffixBase) + k;
  if (StartsWith(call1, "DE ")) return (prefix ? kDePrefixBase : kDeSuffixBase) + k;
  return 0;
}

bool IsListAddOn(AddOnKind kind) {
  return kind == AddOnKind::kListPrefix || kind == AddOnKind::kListSuffix;
}

std::optional<PackedMessage> PackStructured(const std::string& m) {
  std::optional<Fields> fields = SplitFields(m);
  if (!fields) return std::nullopt;
  CompoundCall first = SplitCompoundCall(fields->call1);
  if (first.kind == AddOnKind::kFreePrefix || first.kind == AddOnKind::kFreeSuffix) {
    return std::nullopt;
  }
  std::optional<std::int32_t> call1 = PackCall(first.base_call);
  if (!call1) return std::nullopt;
  CompoundCall second = SplitCompoundCall(fields->call2);
  std::optional<std::int32_t> call2 = PackCall(second.base_call);
  if (!call2) return std::nullopt;

  std::optional<int> field3;
  if (IsListAddOn(first.kind) || IsListAddOn(second.kind)) {
    // One type 1 add-on at most, and it replaces whatever the third field held.
    if (first.k < 0 || second.k < 0 || first.k * second.k != 0) return std::nullopt;
    int k = std::max(first.k, second.k > 0 ? second.k + 450 : second.k);
    field3 = k > 0 ? ListAddOnField3(k) : PackField3(fields->field3);
  } else {
    field3 = PackField3(fields->field3);
  }

  PackedMessage packed{*call1, *call2, field3.value_or(0), MessageType::kStandard};
  packed.type = static_cast<MessageType>(
      std::max(static_cast<int>(first.kind), static_cast<int>(second.kind)));
  bool free_add_on = second.kind == AddOnKind::kFreePrefix || second.kind == AddOnKind::kFreeSuffix;
  if (!free_add_on) return field3 ? std::optional(packed) : std::nullopt;
  if (!field3) return std::nullopt;
  packed.call1 = FreeAddOnLead(fields->call1, second.kind, second.k);
  if (packed.call1 == 0) return std::nullopt;
  return packed;
}

}  // namespace

PackedMessage PackMessage(const std::string& message) {
  std::string m = RewriteCq(NormaliseMessage(message));
  std::optional<PackedMessage> packed = PackStructured(m);
  return packed ? *packed : PackFreeText(m);
}

DataSymbols ToDataSymbols(const PackedMessage& packed) {
  std::uint32_t a = static_cast<std::uint32_t>(packed.call1);
  std::uint32_t b = static_cast<std::uint32_t>(packed.call2);
  std::uint32_t c = static_cast<std::uint32_t>(packed.field3);
  std::uint32_t bits[3] = {a >> 4, ((a & 15) << 20) | (b >> 8), ((b & 0xFF) << 16) | c};
  DataSymbols symbols{};
  for (int i = 0; i < 12; ++i) symbols[i] = (bits[i / 4] >> (18 - 6 * (i % 4))) & 63;
  return symbols;
}

PackedMessage FromDataSymbols(const DataSymbols& symbols) {
  std::uint32_t bits[3] = {0, 0, 0};
  for (int i = 0; i < 12; ++i) bits[i / 4] = (bits[i / 4] << 6) | (symbols[i] & 63);
  PackedMessage packed;
  packed.call1 = static_cast<std::int32_t>((bits[0] << 4) | (bits[1] >> 20));
  packed.call2 = static_cast<std::int32_t>(((bits[1] & 0xFFFFF) << 8) | (bits[2] >> 16));
  packed.field3 = static_cast<std::int32_t>(bits[2] & 0xFFFF);
  packed.type = packed.field3 & kFreeTextFlag ? MessageType::kFreeText : MessageType::kStandard;
  return packed;
}

}  // namespace jt65
