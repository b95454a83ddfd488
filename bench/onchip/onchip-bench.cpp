// The encoder core measured on a simulated ATmega328P (avr-gcc -Os, no LTO, unused sections
// dropped), each mode in the firmware of the on-chip tests:
//   flash   text + data of the firmware with the encode call less the same firmware without it
//           (avr-size), so the core's code, its tables and the libgcc routines it pulls in
//   RAM     static: data + bss the same way; stack: the deepest the stack pointer went below the
//           firmware's waiting loop during an encode (tracked after every instruction); no heap.
//           The caller's buffers (text, symbols, tones) are not counted.
//   cycles  from the message handed over to the tones written, lowest and highest
// over the seeded messages of every type the on-chip tests use and the slowest kind a chip meets
// (see SlowMessages); each figure against its goal. The functions that take most of the flash
// follow each row.
#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "modes/mode.h"
#include "tests/outside/on-air/onchip/chip-session.h"
#include "tests/outside/on-air/onchip/onchip-modes.h"

namespace {

constexpr int kMessages = 1000;
constexpr int kTopFunctions = 6;

struct Goal {
  const char* mode;
  long flash, ram, cycles;
};
// A goal of 0 is none: FST4W has no cycle goal; FST4 and Q65 have none at all, and their rows
// show the figures alone.
constexpr Goal kGoals[] = {{"jt65", 2500, 300, 40000}, {"jt9", 2500, 300, 50000},
                           {"jt4", 2500, 300, 50000},  {"wspr", 3500, 300, 60000},
                           {"ft8", 5000, 400, 40000},  {"ft4", 5000, 400, 40000},
                           {"fst4w", 4000, 400, 0}};

std::string Output(const std::string& command) {
  std::string text;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, got);
    pclose(pipe);
  }
  return text;
}

struct Sections {
  long flash = 0, ram = 0;
};

// text + data and data + bss from avr-size's Berkeley line.
Sections SizeOf(const std::string& elf) {
  std::istringstream out(Output("avr-size " + elf + " 2>/dev/null"));
  std::string header;
  std::getline(out, header);
  long text = 0, data = 0, bss = 0;
  out >> text >> data >> bss;
  return {text + data, data + bss};
}

// The symbols of the firmware with the encoder that the one without it lacks, largest first.
std::vector<std::pair<long, std::string>> EncoderSymbols(const std::string& name) {
  auto symbols = [](const std::string& elf) {
    std::map<std::string, long> sizes;
    std::istringstream out(Output("avr-nm --size-sort -S " + elf + " 2>/dev/null"));
    for (std::string line; std::getline(out, line);) {
      std::istringstream fields(line);
      std::string address, size, kind, symbol;
      if (fields >> address >> size >> kind >> symbol) sizes[symbol] = std::stol(size, nullptr, 16);
    }
    return sizes;
  };
  std::map<std::string, long> with = symbols(testonchip::FirmwarePath(name, "atmega328p"));
  std::map<std::string, long> without = symbols(testonchip::FirmwarePath(name, "atmega328p", true));
  std::vector<std::pair<long, std::string>> added;
  for (const auto& [symbol, size] : with)
    if (!without.count(symbol)) added.push_back({size, symbol});
  std::sort(added.rbegin(), added.rend());
  return added;
}

// The longest paths through the packers: a prefix or suffix looked up in the list and not found,
// for every first character (the list is searched by it), in each place a compound call may
// stand, and two such calls in one message, which end as free text after both searches. The
// seeded makers seldom make them, and a goal per encode must hold for them too.
std::vector<std::string> SlowMessages() {
  std::vector<std::string> messages;
  for (char first : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789")) {
    for (const char* rest : {"", "Z", "ZZ", "ZZZ", "9Z"}) {
      std::string part = first + std::string(rest);
      for (const std::string& message :
           {part + "/K1ABC W9XYZ", "K1ABC " + part + "/W9XYZ", "K1ABC/" + part + " W9XYZ",
            "CQ " + part + "/K1ABC", "QRZ K1ABC/" + part, "DE " + part + "/K1ABC FN42",
            part + "/K1ABC VU7/W9XYZ FN42", "K1ABC/" + part + " W9XYZ/" + part + " R-15"})
        messages.push_back(message);
    }
  }
  return messages;
}

std::string Verdict(long value, long goal) {
  if (goal == 0) return "none";
  return std::to_string(goal) + (value <= goal ? " met" : " MISSED");
}

}  // namespace

int main() {
  std::printf(
      "| mode | flash B | RAM B (static + stack peak) | cycles per encode | messages | "
      "goals: flash / RAM / cycles |\n|---|---|---|---|---|---|\n");
  std::string details;
  for (const std::string& name : testonchip::BuiltModes()) {
    const modes::ModeInfo* info = modes::FindMode(name);
    if (info == nullptr) continue;
    testonchip::ChipHandle firmware =
        testonchip::LoadFirmware(testonchip::FirmwarePath(name, "atmega328p"), "atmega328p");
    if (!firmware->error.empty()) {
      std::printf("| %s | %s |\n", name.c_str(), firmware->error.c_str());
      continue;
    }
    Sections with = SizeOf(testonchip::FirmwarePath(name, "atmega328p"));
    Sections without = SizeOf(testonchip::FirmwarePath(name, "atmega328p", true));
    long flash = with.flash - without.flash, staticRam = with.ram - without.ram;
    unsigned long long fewest = ~0ull, most = 0;
    unsigned stack = 0;
    int encoded = 0, refused = 0;
    std::vector<std::string> messages = testonchip::MessagesFor(info->mode, 7, kMessages);
    for (const std::string& message : SlowMessages()) messages.push_back(message);
    for (const std::string& message : messages) {
      if (message.size() + 1 > firmware->textCapacity) continue;
      testonchip::ChipEncoding got = testonchip::EncodeOnChip(*firmware, message);
      if (!got.finished) {
        std::printf("| %s | the firmware did not come back for [%s] |\n", name.c_str(),
                    message.c_str());
        break;
      }
      stack = std::max(stack, got.stackBytes);
      if (got.status != 0) {
        ++refused;
        continue;
      }
      ++encoded;
      fewest = std::min<unsigned long long>(fewest, got.cycles);
      most = std::max<unsigned long long>(most, got.cycles);
    }
    long ram = staticRam + long(stack);
    const Goal* goal = nullptr;
    for (const Goal& g : kGoals)
      if (name == g.mode) goal = &g;
    std::string verdict = "-";
    if (goal != nullptr) {
      verdict = Verdict(flash, goal->flash) + " / " + Verdict(ram, goal->ram) + " / " +
                Verdict(long(most), goal->cycles);
    }
    std::printf("| %s | %ld | %ld (%ld + %u) | %llu-%llu | %d encoded, %d refused | %s |\n",
                name.c_str(), flash, ram, staticRam, stack, encoded ? fewest : 0ull, most, encoded,
                refused, verdict.c_str());
    details += name + ", largest symbols of the encoder (avr-nm, bytes):";
    std::vector<std::pair<long, std::string>> symbols = EncoderSymbols(name);
    for (int i = 0; i < kTopFunctions && i < int(symbols.size()); ++i)
      details += " " + symbols[size_t(i)].second + " " + std::to_string(symbols[size_t(i)].first);
    details += "\n";
  }
  std::printf("\n%s", details.c_str());
  return 0;
}
