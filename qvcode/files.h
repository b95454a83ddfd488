// The files of a run: a schedule read whole (or standard input), and an output file written whole
// or not at all.
#pragma once

#include <string>
#include <vector>

#include "qvcode/tables.h"

namespace qvcode {

// Reads a file, or standard input for "-"; false with the reason in *error.
bool ReadInput(const std::string& name, std::string* bytes, std::string* error);

// Writes bytes to a new file beside name and then gives it that name, so a reader never sees half
// a file and a failed run leaves no file; false with the reason in *error.
bool WriteWhole(const std::string& name, const std::string& bytes, std::string* error);

// The messages of a schedule: a line each; blank lines and lines starting with # are skipped.
std::vector<Message> ParseSchedule(const std::string& text);

}  // namespace qvcode
