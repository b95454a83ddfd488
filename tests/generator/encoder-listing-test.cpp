// The encoder's listing read by the generator's own conversion: for every vector, the include file
// holds the vector's 63 channel symbols and its decoded text.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "generator/stages.h"
#include "platform/memory/memory-console.h"
#include "runtime/errors.h"
#include "runtime/process.h"
#include "tests/support/environment.h"
#include "tests/support/temp-folder.h"
#include "tools/jt65code/listing.h"

namespace {

struct Vector {
  std::string message;
  std::string decoded;
  std::vector<std::string> channel;  // two digits each, as the include file writes them
};

std::vector<Vector> ReadVectors() {
#ifdef _WIN32
  const std::string source = std::string("Z:") + QUORVEL_SOURCE_DIR;  // the Linux root under Wine
#else
  const std::string source = QUORVEL_SOURCE_DIR;
#endif
  std::ifstream in(source + "/tests/modes/jt65-vectors.tsv");
  std::vector<Vector> vectors;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> columns;
    std::stringstream fields(line);
    for (std::string column; std::getline(fields, column, '\t');) columns.push_back(column);
    if (columns.size() < 6) continue;
    Vector v{columns[0], columns[2], {}};
    std::stringstream numbers(columns[5]);
    for (int n; numbers >> n;) v.channel.push_back((n < 10 ? "0" : "") + std::to_string(n));
    vectors.push_back(v);
  }
  return vectors;
}

class EncoderListingTest : public testsupport::TempFolderTest {};

TEST_F(EncoderListingTest, EveryVectorConvertsToItsSymbolsAndDecodedText) {
  std::vector<Vector> vectors = ReadVectors();
  ASSERT_GE(vectors.size(), 100u);
  for (const Vector& v : vectors) {
    memcon::Reset(80, 25);
    SetUpConsole();
    WriteFile("JT65TEMP.TXT", jt65::FormatListing(jt65::EncodeMessage(v.message)));
    OpenTextInput(kListingFile, "JT65Temp.txt", 128);
    OpenTextOutput(kIncludeFile, "OUT.INC");
    ConversionResult result = ConvertListing();
    CloseFile(kIncludeFile);
    std::string include = ReadFile("OUT.INC");

    std::vector<std::string> entries;
    for (size_t at = include.find("d'"); at != std::string::npos; at = include.find("d'", at + 1))
      entries.push_back(include.substr(at + 2, 2));
    if (v.channel.empty()) {  // a shorthand message has no channel symbols
      EXPECT_FALSE(result.foundSymbols) << v.message;
      continue;
    }
    EXPECT_TRUE(result.foundDecoded && !result.writeFailed) << v.message;
    EXPECT_EQ(entries, v.channel) << v.message;
    size_t comment = include.rfind("    ;   ");
    ASSERT_NE(comment, std::string::npos) << v.message;
    EXPECT_EQ(include.substr(comment), "    ;    " + v.decoded + "\r\n") << v.message;
  }
}

}  // namespace
