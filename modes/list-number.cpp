// The list-directed READ of one whole number, as the encoder core does it.
#include "modes/list-number.h"

#include <algorithm>

#include "modes/core/common/qvc-list-number.h"

namespace jt65 {

ListRead ReadListNumber(std::string_view text, int& value) {
  std::int32_t number = value;
  std::uint8_t length = std::uint8_t(std::min<std::size_t>(text.size(), 255));
  switch (qvc_read_list_number(text.data(), length, &number)) {
    case QVC_LIST_VALUE:
      value = int(number);
      return ListRead::kValue;
    case QVC_LIST_NOTHING:
      return ListRead::kNothing;
    case QVC_LIST_END:
      return ListRead::kEnd;
    default:
      return ListRead::kError;
  }
}

}  // namespace jt65
