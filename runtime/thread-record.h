// The per-thread record of the runtime: made at start-up, released by EndProgram. The program has
// one thread, but its search state and code page live here, in a thread-local slot, as Windows
// programs keep them.
#pragma once

#include <cstdint>

#include "platform/platform.h"

struct SearchState {
  pf::Handle handle = pf::kInvalidHandle;  // an open directory search, or none
  int attributeMask = 0;
};

struct ThreadRecord {
  uint32_t codePage = 0;  // the system ANSI code page (0), set once; the conversions assume it
  SearchState search;
};

// The record of the running thread; made on first use when start-up did not make it (tests).
ThreadRecord& CurrentThreadRecord();
// Made at start-up: false when the slot or the record cannot be had.
bool MakeThreadRecord();
void ReleaseThreadRecord();
