// ASCII text helpers every layer shares: letter case, case-blind comparison, lists of names.
// Only the 26 ASCII letters change case; every other byte (UTF-8 included) passes unchanged.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace ascii {

constexpr char Upper(char c) {
  return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

constexpr char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

inline std::string UpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = Upper(c);
  return out;
}

constexpr bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

// "de, dt, c" from a table's rows, for messages that list what may be chosen.
template <typename Rows, typename NameOf>
std::string JoinNames(const Rows& rows, NameOf nameOf) {
  std::string names;
  for (const auto& row : rows) {
    if (!names.empty()) names += ", ";
    names += nameOf(row);
  }
  return names;
}

// A line per row for a help text: indent, the row's name padded to 8 columns, its summary.
template <typename Rows, typename NameOf, typename SummaryOf>
std::string ListedRows(const Rows& rows, std::size_t indent, NameOf nameOf, SummaryOf summaryOf) {
  std::string lines;
  for (const auto& row : rows) {
    std::string name(nameOf(row));
    name.resize(std::max<std::size_t>(name.size(), 8), ' ');
    lines += std::string(indent, ' ') + name + std::string(summaryOf(row)) + "\n";
  }
  return lines;
}

}  // namespace ascii
