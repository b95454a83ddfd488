// An encoder for tests: it prints a fixed listing, or one of the ways a listing can go wrong, as
// chosen by QUORVEL_FAKE_ENCODER (listing, usage, nothing, exit1, cut, args: its arguments).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

void Print(const std::string& line) {
  std::string bytes = line + "\r\n";
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

void PrintListing(const char* message, bool complete) {
  Print(std::string("Message:   ") + message);
  Print("Packed message, 6-bit symbols:  62 32 32 49 39 55  3  2 14  5 33 40");
  Print("Channel symbols, including FEC:");
  Print("   41 26 52 55 27 48 25  0 44 36 18  3 37  9 51  6 23  2  9 54 53");
  Print("   57 38 63 17 33  3 37 41 24  1  9 35  7 48  9  8 56 12  6 11 38");
  if (!complete) return;
  Print("   46 48  7  9  0  5 17  2 20 50 41 49  9  5 51 56 24 39 38 52 60");
  Print(std::string("Decoded message: ") + message);
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  const char* chosen = std::getenv("QUORVEL_FAKE_ENCODER");
  std::string mode = chosen != nullptr && *chosen != '\0' ? chosen : "listing";
  const char* message = argc > 1 ? argv[1] : "";
  if (mode == "usage") {
    Print(" Usage: JT65code \"message\"");
  } else if (mode == "nothing") {
  } else if (mode == "cut") {
    PrintListing(message, false);
  } else if (mode == "args") {
    // With QUORVEL_FAKE_ARGS_FILE set, the arguments go to that file instead.
    const char* argsFile = std::getenv("QUORVEL_FAKE_ARGS_FILE");
    if (argsFile != nullptr && std::freopen(argsFile, "wb", stdout) == nullptr) return 2;
    for (int i = 1; i < argc; ++i) Print(std::string("[") + argv[i] + "]");
  } else {
    PrintListing(message, true);
    if (mode == "exit1") return 1;
  }
  return 0;
}
