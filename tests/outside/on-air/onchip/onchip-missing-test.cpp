// Stands in for the on-chip tests on a machine without avr-gcc or simavr's library: skips with
// the reason, or fails in CI, whose run installs both.
#include <gtest/gtest.h>

#include "tests/support/needs-tool.h"

TEST(OnChipHarness, NeedsAvrGccAndSimavr) {
  if (testsupport::InCi()) FAIL() << "avr-gcc or simavr's library (libsimavr-dev) is missing";
  GTEST_SKIP() << "avr-gcc or simavr's library is missing (packages gcc-avr, libsimavr-dev)";
}
