// The tables of a run: each message encoded in the chosen mode, its symbols or tones taken, and the
// bytes a chip stores for them (one value a byte, or packed to the bits each value needs).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "modes/mode.h"
#include "modes/morse.h"
#include "qvcode/sequence.h"
#include "qvcode/synthesisers.h"

namespace qvcode {

struct Message {
  std::string text;
  int line = 0;  // its line in the schedule; 0 for a message given on the command line
  std::string identification;  // Morse sent after it (a schedule's "cw:" line); empty: none
};

struct Table {
  Message source;
  modes::Encoding encoding;
  std::vector<int> values;          // the symbols or the tones, as the mode gives them
  std::vector<std::uint8_t> bytes;  // what the chip stores
};

// A Morse identification: its text as sent and its durations in dot units, key down first.
struct Identification {
  std::string text;
  std::vector<std::uint8_t> durations;
};

// What every table of a run shares.
struct Run {
  const modes::ModeInfo* mode = nullptr;
  char submode = 0;  // 0 for a mode without submodes
  int period = 0;    // seconds, of a mode with several periods; 0 for the others
  Sequence sequence = Sequence::kSymbols;
  int valueBits = 8;  // bits a value takes when packed
  bool packed = false;
  std::string name;  // the base of labels and C names
  bool progmem = false;
  Family layout = Family::kPic;  // PIC (EEPROM at word 0x2100) or AVR (.eep bytes from 0)
  std::uint32_t address = 0;     // Intel HEX: where the first byte goes, in the layout's own units
  std::vector<Table> tables;
  modes::MorseKeying morse;      // the keying of --mode cw and of identifications
  std::optional<Tuning> tuning;  // the synthesiser's rows for each tone, when asked for
  std::vector<Identification> identifications;  // each distinct one once
  std::vector<int> identificationAfter;         // per table: 1-based identification after it, or 0
};

struct Refusal {
  Message source;
  std::string reason;
};

// Encodes every message; the ones that cannot be sent land in refusals, the rest in run.tables.
void BuildTables(const std::vector<Message>& messages, Run& run, std::vector<Refusal>& refusals);

// Values of `bits` bits each, most significant bit first, one after another across the bytes;
// the last byte is filled up with zero bits.
std::vector<std::uint8_t> PackValues(const std::vector<int>& values, int bits);

// The unpacking rule in words, for the comment of a file; empty when the tables are not packed.
std::vector<std::string> PackingRule(const Run& run);

// The mode in capitals with its period and submode where it has several: "JT65A", "WSPR",
// "Q65_60A".
std::string ModeLabel(const modes::ModeInfo& mode, char submode, int period = 0);
// "JT65A channel symbols" / "WSPR tone sequence" and the like, for comments and messages.
std::string Describe(const Run& run);
// Bytes a table takes; every table of a run takes the same (Morse tables are padded with 0s).
std::size_t BytesPerTable(const Run& run);
// The bytes after the message tables in a memory image: per band the setup then the rows, tone 0
// first; then the identifications, each IdentificationLength bytes ending in 0s, and one byte a
// message naming the identification after it.
std::vector<std::uint8_t> BeaconBytes(const Run& run);
std::size_t IdentificationLength(const Run& run);  // the longest's durations and one 0

// The name of table `index` (0-based): the run's name alone for a single table, else numbered.
std::string TableName(const Run& run, std::size_t index);

}  // namespace qvcode
