// The text fst4sim is given for a message: fst4sim cuts it to 37 characters and then strips leading
// blanks with a faulty loop (two blanks also eat the first character); the encoders strip them
// all, so the tool gets the cut text without them.
#pragma once

#include <string>

namespace fst4test {

inline std::string WithoutLeadingBlanks(const std::string& text) {
  std::string cut = text.substr(0, 37);
  std::size_t first = cut.find_first_not_of(' ');
  return first == std::string::npos ? "" : cut.substr(first);
}

}  // namespace fst4test
