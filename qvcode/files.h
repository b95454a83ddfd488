// The files of a run: a schedule read whole (or standard input) and split into its messages, and
// the output written whole (or to standard output).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/outcome.h"
#include "qvcode/tables.h"

namespace qvcode {

// Reads a file, or standard input for "-".
Outcome ReadInput(const std::string& name, std::string* bytes);

// Writes bytes as the whole file (see pf::WriteWholeFile), or to standard output for "-".
Outcome WriteOutput(const std::string& name, std::string_view bytes);

// The messages of a schedule: a line each, whatever ends its lines (CR LF, LF or CR), a UTF-8
// byte-order mark skipped; blank lines and lines starting with # are skipped. A line holding a
// control character or bytes that are not UTF-8 is refused: "line 3: byte 0x1B (...)".
Outcome ParseSchedule(std::string_view text, std::vector<Message>& messages);

}  // namespace qvcode
