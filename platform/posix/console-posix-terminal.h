// The terminal behind the console: which descriptors reach it, its input modes, reading and
// writing bytes, and giving it back as it was found on every way out, signals included.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace pf::tty {

// Once, when the console starts: the descriptors, the terminal settings as found, the signal
// handlers that give the terminal back.
void StartTerminal();

// Standard output when it is a terminal, else standard error when that is; -1: no terminal
// behind output.
int OutputFd();
// The controlling terminal (/dev/tty), open for reading keys; -1 when there is none.
int InputFd();

// Writes bytes to the output terminal.
void WriteToTerminal(std::string_view bytes);

// The controlling terminal's input settings: raw (keys one by one, no echo, no signals, no flow
// control, no CR translation) or as found.
void SetRawInput(bool raw);

// Appends what the terminal has sent, waiting up to timeoutMs (-1: until something comes) for
// the first byte. False when the terminal is gone (hung up).
bool ReadTerminal(std::string* bytes, int timeoutMs);

// Whether the terminal driver sends a line feed as CR LF (output processing with ONLCR).
bool LineFeedReturns();

// The window in cells; failing that COLUMNS and LINES, failing those 80 x 24.
void WindowSize(int* width, int* height);

// Whether the process was stopped and continued, or the window changed size, since last asked.
bool TakeContinued();
bool TakeResized();

// The console control handlers, run for SIGINT (Ctrl+C event), SIGQUIT (Ctrl+Break event) and
// SIGHUP (close event). A null handler added makes Ctrl+C ignored, as on Windows.
void SetControlHandler(pf::ControlHandler handler, bool add);
// Asks the handlers about a close event (the terminal is gone), gives the terminal back and ends
// the process as the hang-up signal does.
[[noreturn]] void EndAfterHangUp();

// Gives the terminal back (settings as found, colours reset, cursor shown, wrapping on). Safe in
// a signal handler; the second call does nothing.
void FinishTerminal();

}  // namespace pf::tty
