// Encoding the messages of a run into the tables a chip stores, and the packing of those tables.
#include "qvcode/tables.h"

#include <algorithm>

#include "common/ascii.h"

namespace qvcode {

namespace {

// Morse keyings differ in length: each is filled up with 0, which no duration is, to the longest.
void PadToLongest(Run& run) {
  std::size_t longest = 0;
  for (const Table& table : run.tables) longest = std::max(longest, table.values.size());
  for (Table& table : run.tables) table.values.resize(longest, 0);
}

// The identification after a message, kept once however many messages it follows.
bool AddIdentification(const Message& message, Run& run, std::vector<Refusal>& refusals) {
  if (message.identification.empty()) {
    run.identificationAfter.push_back(0);
    return true;
  }
  modes::Encoding morse;
  modes::EncodeResult keyed = modes::EncodeMorse(message.identification, run.morse, morse);
  if (!keyed.ok) {
    refusals.push_back({message, "its identification \"" + message.identification +
                                     "\" cannot be sent: " + keyed.error});
    return false;
  }
  std::size_t index = 0;
  while (index < run.identifications.size() && run.identifications[index].text != morse.decoded)
    ++index;
  if (index == run.identifications.size())
    run.identifications.push_back(
        {morse.decoded, std::vector<std::uint8_t>(morse.symbols.begin(), morse.symbols.end())});
  run.identificationAfter.push_back(int(index) + 1);
  return true;
}

}  // namespace

void BuildTables(const std::vector<Message>& messages, Run& run, std::vector<Refusal>& refusals) {
  const bool morse = run.mode->mode == modes::Mode::kCw;
  for (const Message& message : messages) {
    Table table;
    table.source = message;
    modes::EncodeResult result = morse
                                     ? modes::EncodeMorse(message.text, run.morse, table.encoding)
                                     : modes::EncodeMessage(run.mode->mode, run.submode, run.period,
                                                            message.text, table.encoding);
    if (!result.ok) {
      refusals.push_back({message, result.error});
      continue;
    }
    if (!AddIdentification(message, run, refusals)) continue;
    table.values =
        run.sequence == Sequence::kSymbols ? table.encoding.symbols : table.encoding.tones;
    run.tables.push_back(std::move(table));
  }
  if (morse) PadToLongest(run);
  for (Table& table : run.tables) {
    if (run.packed) {
      table.bytes = PackValues(table.values, run.valueBits);
    } else {
      table.bytes.assign(table.values.begin(), table.values.end());
    }
  }
  if (run.identifications.empty()) run.identificationAfter.clear();
}

std::size_t IdentificationLength(const Run& run) {
  std::size_t longest = 0;
  for (const Identification& id : run.identifications)
    longest = std::max(longest, id.durations.size());
  return longest + 1;
}

std::vector<std::uint8_t> BeaconBytes(const Run& run) {
  std::vector<std::uint8_t> bytes;
  if (run.tuning) {
    for (const BandTuning& band : run.tuning->bands) {
      bytes.insert(bytes.end(), band.setup.begin(), band.setup.end());
      for (const ToneTuning& tone : band.tones)
        bytes.insert(bytes.end(), tone.bytes.begin(), tone.bytes.end());
    }
  }
  for (const Identification& id : run.identifications) {
    std::vector<std::uint8_t> row = id.durations;
    row.resize(IdentificationLength(run), 0);
    bytes.insert(bytes.end(), row.begin(), row.end());
  }
  for (int after : run.identificationAfter) bytes.push_back(std::uint8_t(after));
  return bytes;
}

std::vector<std::uint8_t> PackValues(const std::vector<int>& values, int bits) {
  std::vector<std::uint8_t> bytes((values.size() * std::size_t(bits) + 7) / 8, 0);
  std::size_t at = 0;  // the bit being written, counted from the top bit of byte 0
  for (int value : values) {
    for (int bit = bits - 1; bit >= 0; --bit, ++at)
      if ((value >> bit) & 1) bytes[at / 8] |= std::uint8_t(0x80 >> (at % 8));
  }
  return bytes;
}

std::vector<std::string> PackingRule(const Run& run) {
  if (!run.packed) return {};
  std::string bits = std::to_string(run.valueBits) + (run.valueBits == 1 ? " bit" : " bits");
  std::string first = std::to_string(run.valueBits);
  return {
      "Packed, " + bits + " per value: read the bytes as one string of bits, each byte from",
      "bit 7 down to bit 0; value i is the " + bits + " from bit " + first +
          "*i of that string on, the most",
      "significant first. Zero bits after the last value fill up the last byte.",
  };
}

std::string ModeLabel(const modes::ModeInfo& mode, char submode, int period) {
  std::string name = ascii::UpperCase(mode.name);
  if (period != 0) name += "_" + std::to_string(period);
  if (mode.submodes.size() > 1) name += submode;
  return name;
}

std::string Describe(const Run& run) {
  return ModeLabel(*run.mode, run.submode, run.period) +
         (run.sequence == Sequence::kSymbols ? " channel symbols" : " tone sequence");
}

std::size_t BytesPerTable(const Run& run) {
  return run.tables.empty() ? 0 : run.tables.front().bytes.size();
}

std::string TableName(const Run& run, std::size_t index) {
  if (run.tables.size() == 1) return run.name;
  return run.name + "_" + std::to_string(index + 1);
}

}  // namespace qvcode
