// Reading a whole number out of a report field the way a Fortran list-directed READ does, since
// that READ decides which report texts are accepted: "2*5" reads 5 (a repeat count), "5," and
// "5;" read 5, ",5" and "/5" read nothing and keep the old value, "5." is an error.
#pragma once

#include <string_view>

namespace jt65 {

enum class ListRead {
  kValue,    // a number was read into the variable
  kNothing,  // a null value or a "/": the variable keeps what it held
  kEnd,      // only blanks: the end of the record was reached
  kError,    // not a number
};

ListRead ReadListNumber(std::string_view text, int& value);

}  // namespace jt65
