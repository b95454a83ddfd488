// The command tail, environment variables and child processes started from a command line.
#pragma once

#include <cstdint>
#include <string_view>

#include "runtime/text.h"

// Where the tail begins in a Windows command line: after the program's name and the blanks behind
// it (tabs are not skipped). The result may equal the line's length: an empty tail.
size_t CommandTailStart(std::u16string_view commandLine);

// Finds the tail start of this process's command line once, at start-up.
void FindCommandTailStart();
// The same for a given command line, which CommandTail then reads (tests use it).
void UseCommandLine(std::u16string_view commandLine);

// The text after the program's name on the command line that started this process.
Text CommandTail();

// The value of an environment variable, found without regard to letter case; empty when unset.
Text GetEnvironment(std::string_view name);

// Starts the command line (cut to 256 characters) as a new process in the same console, with this
// process's environment and current directory, and waits for it without a time limit. Gives the
// process's exit code; a process that cannot be started records the mapped run-time error number.
uint32_t RunCommandAndWait(std::string_view commandLine, int showStyle);
