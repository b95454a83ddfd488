// The bench's findings: each transmission read from the record, checked against its mode, and
// put through the decoders; and the same in words for qvbench's users.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "modes/mode.h"
#include "tools/qvbench/bench.h"
#include "tools/qvbench/decode-run.h"
#include "tools/qvbench/rf-record.h"

namespace qvbench {

struct ReportOptions {
  modes::Mode mode = modes::Mode::kWspr;
  std::vector<double> dialsHz;  // empty: each transmission's own
  bool decode = true;
  std::string folder;  // where the decoders run
  double wallSeconds = 0;
};

// Where a receiver hears a transmission and what it hears in it.
struct Examined {
  Transmission sent;
  double dialHz = 0;
  double expectedAudioHz = 0;      // where a decoder should place it
  std::vector<Heard> heard;        // the decoder's lines for its period
  std::string morse;               // the Morse decoder's reading of the keying after it
  std::vector<std::string> notes;  // decoders not run, and why
};

struct Verdict {
  bool ok = false;  // something was sent, nothing broke the mode, every decoder run heard it
  std::vector<Examined> transmissions;
};

Verdict Examine(const BenchSetup& setup, const BenchRecord& record, const ReportOptions& options);

// Examines the record and prints the findings to out.
Verdict PrintReport(const BenchSetup& setup, const BenchRecord& record,
                    const ReportOptions& options, std::FILE* out);

}  // namespace qvbench
