// The terminal behind the console: descriptors, input modes, bytes in and out, and the terminal
// given back on every way out. What may run in a signal handler here sticks to write(2),
// tcsetattr(3), open(2) and flags. The sequences it sends:
//
//   ESC [ 0 m  ESC [ ? 25 h  ESC [ ? 7 h    on giving the terminal back (only once something was
//                                           written): colours reset, cursor shown, wrapping on
//
// Signals: SIGINT and SIGQUIT go to the console control handlers as the Ctrl+C and Ctrl+Break
// events (claimed: nothing happens); SIGHUP and SIGTERM are the close event, after which the
// process ends; the crash signals give the terminal back and then take their course; SIGTSTP gives
// it back before the stop, and SIGCONT has the console take it again.
#include "platform/posix/console-posix-terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace pf::tty {
namespace {

bool started = false;
int outputFd = -1;
int inputFd = -1;
termios found{};
bool haveFound = false;
volatile sig_atomic_t rawOn = 0;
volatile sig_atomic_t wroteSomething = 0;
volatile sig_atomic_t finished = 0;
volatile sig_atomic_t continued = 0;
volatile sig_atomic_t resized = 0;

constexpr int kMaxHandlers = 8;
pf::ControlHandler handlers[kMaxHandlers] = {};
volatile sig_atomic_t handlerCount = 0;
volatile sig_atomic_t ctrlCIgnored = 0;

constexpr char kGiveBack[] = "\x1b[0m\x1b[?25h\x1b[?7h";
constexpr int kEndingSignals[] = {SIGTERM, SIGHUP, SIGINT, SIGQUIT, SIGSEGV,
                                  SIGBUS,  SIGFPE, SIGILL, SIGABRT};
struct sigaction previous[NSIG];

void WriteAll(int fd, const char* bytes, size_t size) {
  while (size > 0) {
    ssize_t done = write(fd, bytes, size);
    if (done < 0) {
      if (errno == EINTR) continue;
      return;
    }
    bytes += done;
    size -= static_cast<size_t>(done);
  }
}

// The terminal as it was found; may run again after the process continues.
void GiveBack() {
  if (wroteSomething && outputFd >= 0) WriteAll(outputFd, kGiveBack, sizeof kGiveBack - 1);
  if (rawOn && haveFound) {
    tcsetattr(inputFd, TCSANOW, &found);
    rawOn = 0;
  }
}

bool AskHandlers(uint32_t event) {
  for (int i = handlerCount - 1; i >= 0; --i) {
    if (handlers[i] != nullptr && handlers[i](event)) return true;
  }
  return event == pf::kCtrlCEvent && ctrlCIgnored;
}

// Gives the terminal back, then lets the signal do what it did before we took it over (the
// signal is blocked while its handler runs, so it strikes once the handler returns).
void EndWith(int signal) {
  FinishTerminal();
  sigaction(signal, &previous[signal], nullptr);
  raise(signal);
}

void OnSignal(int signal);

void Install(int signal, bool keepIgnored) {
  struct sigaction action {};
  sigaction(signal, nullptr, &previous[signal]);
  if (keepIgnored && previous[signal].sa_handler == SIG_IGN) return;
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(signal, &action, nullptr);
}

// Stopped from outside: the shell gets its terminal back while we are stopped.
void StopHere() {
  GiveBack();
  struct sigaction stop {};
  stop.sa_handler = SIG_DFL;
  sigemptyset(&stop.sa_mask);
  sigaction(SIGTSTP, &stop, nullptr);
  sigset_t tstp;
  sigset_t before;
  sigemptyset(&tstp);
  sigaddset(&tstp, SIGTSTP);
  raise(SIGTSTP);
  sigprocmask(SIG_UNBLOCK, &tstp, &before);  // the stop happens here
  sigprocmask(SIG_SETMASK, &before, nullptr);
  Install(SIGTSTP, false);
  continued = 1;
}

void OnSignal(int signal) {
  int savedErrno = errno;
  switch (signal) {
    case SIGWINCH:
      resized = 1;
      break;
    case SIGCONT:
      continued = 1;
      break;
    case SIGTSTP:
      StopHere();
      break;
    case SIGINT:
      if (!AskHandlers(pf::kCtrlCEvent)) EndWith(signal);
      break;
    case SIGQUIT:
      if (!AskHandlers(pf::kCtrlBreakEvent)) EndWith(signal);
      break;
    case SIGHUP:
    case SIGTERM:
      AskHandlers(pf::kCtrlCloseEvent);  // claimed or not, the process is to end
      EndWith(signal);
      break;
    default:
      EndWith(signal);
  }
  errno = savedErrno;
}

int EnvironmentNumber(const char* name) {
  const char* text = std::getenv(name);
  if (text == nullptr) return 0;
  char* end = nullptr;
  long value = std::strtol(text, &end, 10);
  return end != text && *end == '\0' && value > 0 && value < 100000 ? static_cast<int>(value) : 0;
}

}  // namespace

void StartTerminal() {
  if (started) return;
  started = true;
  if (isatty(1)) {
    outputFd = 1;
  } else if (isatty(2)) {
    outputFd = 2;
  }
  int tty = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (tty >= 0) {
    // Above the standard streams, so a child never finds it standing in for one of them.
    inputFd = fcntl(tty, F_DUPFD_CLOEXEC, 3);
    close(tty);
  }
  if (inputFd >= 0 && tcgetattr(inputFd, &found) == 0) haveFound = true;
  if (outputFd < 0 && inputFd < 0) {
    // No terminal to give back, but the close handlers still tidy up when ended from outside.
    Install(SIGTERM, true);
    Install(SIGHUP, true);
    return;
  }
  for (int signal : kEndingSignals) {
    bool crash = signal == SIGSEGV || signal == SIGBUS || signal == SIGFPE || signal == SIGILL ||
                 signal == SIGABRT;
    Install(signal, !crash);
  }
  Install(SIGTSTP, true);
  Install(SIGCONT, false);
  Install(SIGWINCH, false);
}

int OutputFd() {
  return outputFd;
}
int InputFd() {
  return inputFd;
}

void WriteToTerminal(std::string_view bytes) {
  if (outputFd < 0 || bytes.empty() || finished) return;
  wroteSomething = 1;
  WriteAll(outputFd, bytes.data(), bytes.size());
}

void SetRawInput(bool raw) {
  if (inputFd < 0 || !haveFound) return;
  if (raw) {
    termios keys = found;
    keys.c_iflag &= ~static_cast<tcflag_t>(ICRNL | INLCR | IGNCR | IXON | ISTRIP | BRKINT);
    keys.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ECHONL | ISIG | IEXTEN);
    keys.c_cc[VMIN] = 1;
    keys.c_cc[VTIME] = 0;
    rawOn = 1;  // before the change, so a signal arriving meanwhile still gives it back
    if (tcsetattr(inputFd, TCSANOW, &keys) != 0) rawOn = 0;
  } else if (rawOn) {
    tcsetattr(inputFd, TCSANOW, &found);
    rawOn = 0;
  }
}

bool ReadTerminal(std::string* bytes, int timeoutMs) {
  if (inputFd < 0) return false;
  for (int round = 0; round < 16; ++round) {
    pollfd ready{inputFd, POLLIN, 0};
    int count = poll(&ready, 1, round == 0 ? timeoutMs : 0);
    if (count < 0) return errno == EINTR;
    if (count == 0) return true;
    if (ready.revents & POLLNVAL) return false;
    char buffer[4096];
    ssize_t got = read(inputFd, buffer, sizeof buffer);
    if (got == 0) return false;
    if (got < 0) return errno == EINTR || errno == EAGAIN;
    bytes->append(buffer, static_cast<size_t>(got));
  }
  return true;
}

bool LineFeedReturns() {
  termios settings{};
  return outputFd >= 0 && tcgetattr(outputFd, &settings) == 0 && (settings.c_oflag & OPOST) &&
         (settings.c_oflag & ONLCR);
}

void WindowSize(int* width, int* height) {
  winsize window{};
  int fd = outputFd >= 0 ? outputFd : inputFd;
  *width = 0;
  *height = 0;
  if (fd >= 0 && ioctl(fd, TIOCGWINSZ, &window) == 0) {
    *width = window.ws_col;
    *height = window.ws_row;
  }
  if (*width <= 0) *width = EnvironmentNumber("COLUMNS");
  if (*height <= 0) *height = EnvironmentNumber("LINES");
  if (*width <= 0) *width = 80;
  if (*height <= 0) *height = 24;
  // Coordinates are 16-bit, and the two cell grids should stay small.
  if (*width > 1000) *width = 1000;
  if (*height > 1000) *height = 1000;
}

bool TakeContinued() {
  if (!continued) return false;
  continued = 0;
  return true;
}

bool TakeResized() {
  if (!resized) return false;
  resized = 0;
  return true;
}

void SetControlHandler(pf::ControlHandler handler, bool add) {
  if (handler == nullptr) {
    ctrlCIgnored = add ? 1 : 0;
    return;
  }
  if (add) {
    if (handlerCount < kMaxHandlers) {
      handlers[handlerCount] = handler;
      handlerCount = handlerCount + 1;
    }
    return;
  }
  for (int i = handlerCount - 1; i >= 0; --i) {
    if (handlers[i] != handler) continue;
    for (int j = i; j + 1 < handlerCount; ++j) handlers[j] = handlers[j + 1];
    handlerCount = handlerCount - 1;
    return;
  }
}

void EndAfterHangUp() {
  AskHandlers(pf::kCtrlCloseEvent);
  FinishTerminal();
  signal(SIGHUP, SIG_DFL);
  raise(SIGHUP);
  _exit(128 + SIGHUP);
}

void FinishTerminal() {
  if (finished) return;
  finished = 1;
  GiveBack();
}

}  // namespace pf::tty
