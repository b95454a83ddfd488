// Every vector of jt65-vectors.tsv (made with WSJT-X's jt65code): the message type, the decoded
// text, the 12 data symbols and the 63 channel symbols.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "modes/fixed-text.h"
#include "modes/jt65-encoder.h"

namespace jt65 {
namespace {

struct Vector {
  std::string message;
  int type = 0;
  std::string decoded;
  std::vector<int> data;
  std::vector<int> channel;
};

std::vector<int> Numbers(const std::string& text) {
  std::vector<int> numbers;
  std::istringstream in(text);
  for (int n; in >> n;) numbers.push_back(n);
  return numbers;
}

std::vector<Vector> ReadVectors() {
  std::vector<Vector> vectors;
  std::ifstream file(JT65_VECTORS_FILE);
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> columns;
    std::istringstream in(line);
    for (std::string column; std::getline(in, column, '\t');) columns.push_back(column);
    columns.resize(6);
    vectors.push_back(
        {columns[0], std::stoi(columns[1]), columns[2], Numbers(columns[4]), Numbers(columns[5])});
  }
  return vectors;
}

template <std::size_t N>
std::vector<int> AsVector(const std::array<int, N>& symbols) {
  return {symbols.begin(), symbols.end()};
}

TEST(Vectors, EveryVectorEncodesAndDecodesAsPublished) {
  std::vector<Vector> vectors = ReadVectors();
  ASSERT_EQ(vectors.size(), 125u) << JT65_VECTORS_FILE;
  for (const Vector& v : vectors) {
    SCOPED_TRACE(v.message);
    Encoding e = EncodeMessage(v.message);
    EXPECT_EQ(static_cast<int>(e.type), v.type);
    EXPECT_EQ(TrimRight(e.decoded), v.decoded);
    if (e.type == MessageType::kShorthand) continue;
    EXPECT_EQ(AsVector(e.data), v.data);
    EXPECT_EQ(AsVector(e.channel), v.channel);
  }
}

}  // namespace
}  // namespace jt65
