// The life of the process around the generator: start-up (console set-up, command tail, thread
// record, COM), the console control handler and the end of the process.
#pragma once

#include <cstdint>

using ProgramEntry = int (*)();

// The process entry: prepares the console, calls entry once and ends the process with its result.
[[noreturn]] void RunProcess(int argc, char** argv, ProgramEntry entry);

// Console set-up alone (handles, modes, control handler, cursor shape) and the reset of the
// colours.
void SetUpConsole();

// Releases what the run holds and ends the process with exitCode.
[[noreturn]] void EndProgram(uint32_t exitCode);

bool ConsoleControlHandler(uint32_t eventType);

// A file of this exact name the run removes when it is ended from outside (the console closed,
// SIGTERM, SIGHUP), as it would at its own end; nullptr for none. The name must outlive the run.
void RemoveOnClose(const char* name);
