// The one shape of "it worked, or here is why in words" that the programs and libraries return.
#pragma once

#include <string>

struct Outcome {
  bool ok = true;
  std::string error;  // why it did not work, in words; empty when ok

  static Outcome Failed(std::string why) { return {false, std::move(why)}; }
};
