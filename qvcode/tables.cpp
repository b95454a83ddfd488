// Encoding the messages of a run into the tables a chip stores, and the packing of those tables.
#include "qvcode/tables.h"

#include "common/ascii.h"

namespace qvcode {

void BuildTables(const std::vector<Message>& messages, Run& run, std::vector<Refusal>& refusals) {
  for (const Message& message : messages) {
    Table table;
    table.source = message;
    modes::EncodeResult result =
        modes::EncodeMessage(run.mode->mode, run.submode, run.period, message.text, table.encoding);
    if (!result.ok) {
      refusals.push_back({message, result.error});
      continue;
    }
    table.values =
        run.sequence == Sequence::kSymbols ? table.encoding.symbols : table.encoding.tones;
    if (run.packed) {
      table.bytes = PackValues(table.values, run.valueBits);
    } else {
      table.bytes.assign(table.values.begin(), table.values.end());
    }
    run.tables.push_back(std::move(table));
  }
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
