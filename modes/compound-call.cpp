// The listed prefixes as text, and putting a listed add-on back on a decoded call.
#include "modes/compound-call.h"

#include "modes/fixed-text.h"

namespace jt65 {
namespace {

std::array<std::string_view, QVJ_PREFIX_COUNT> ReadPrefixList() {
  static std::array<std::array<char, 5>, QVJ_PREFIX_COUNT> texts;
  std::array<std::string_view, QVJ_PREFIX_COUNT> list;
  for (std::size_t i = 0; i < list.size(); ++i) {
    std::uint8_t length = qvj_prefix_text(std::uint16_t(i + 1), texts[i].data());
    list[i] = std::string_view(texts[i].data(), length);
  }
  return list;
}

// The k that no list entry uses is kept for a prefix the operator sets up; this encoder has none,
// so the prefix is 8 NUL characters, which no typed field can equal.
constexpr int kOperatorPrefixCode = 449;

}  // namespace

const std::array<std::string_view, QVJ_PREFIX_COUNT> kPrefixList = ReadPrefixList();

std::string ApplyListAddOn(int k, const std::string& word) {
  int code = k > 450 ? k - 450 : k;
  if (code >= 1 && code <= static_cast<int>(kPrefixList.size())) {
    return Fixed(std::string(kPrefixList[code - 1]) + "/" + word, 12);
  }
  if (code >= QVJ_FIRST_SUFFIX_CODE &&
      code < QVJ_FIRST_SUFFIX_CODE + static_cast<int>(kSuffixList.size())) {
    std::size_t end = word.find(' ');
    std::string call = end == std::string::npos ? std::string() : word.substr(0, end);
    return Fixed(call + "/" + kSuffixList[code - QVJ_FIRST_SUFFIX_CODE], 12);
  }
  if (code == kOperatorPrefixCode) return Fixed(std::string(8, '\0') + "/" + word, 12);
  return word;
}

}  // namespace jt65
