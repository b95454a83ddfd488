// The Field Day sections and RTTY Roundup exchanges read out of the encoder core's lists once, in
// the order their numbers are sent, and the text of a 4-character locator.
#include "modes/message77-tables.h"

#include "modes/core/ft/qvf-message77-tables.h"

namespace ft {
namespace {

template <std::size_t size>
std::array<std::string_view, size> ListOf(void (*text)(std::uint8_t, char*)) {
  static char entries[size][3];
  std::array<std::string_view, size> list;
  for (std::size_t i = 0; i < size; ++i) {
    text(std::uint8_t(i + 1), entries[i]);
    std::size_t length = entries[i][2] == ' ' ? 2 : 3;
    list[i] = std::string_view(entries[i], length);
  }
  return list;
}

}  // namespace

const std::array<std::string_view, 86> kFieldDaySections =
    ListOf<QVF_FIELD_DAY_SECTIONS>(qvf_field_day_section_text);
const std::array<std::string_view, 171> kRttyExchanges =
    ListOf<QVF_RTTY_EXCHANGES>(qvf_rtty_exchange_text);

std::string LocatorText(int value) {
  return {char('A' + value / 1800), char('A' + value / 100 % 18), char('0' + value / 10 % 10),
          char('0' + value % 10)};
}

}  // namespace ft
