// Windows names on a Linux file system: "\" as a separator, letter case ignored, "*" and "?"
// patterns.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "platform/posix/system-posix.h"

namespace pf::posix {

namespace {

bool UnitsEqualIgnoringCase(char16_t a, char16_t b) {
  return FoldCase(a) == FoldCase(b);
}

bool MatchesFrom(std::u16string_view pattern, std::u16string_view name) {
  // Greedy with one point of return: the last "*" seen and how much of name it has taken.
  size_t p = 0, n = 0, starAt = std::u16string_view::npos, starTaken = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == u'*') {
      starAt = p++;
      starTaken = n;
    } else if (p < pattern.size() &&
               (pattern[p] == u'?' || UnitsEqualIgnoringCase(pattern[p], name[n]))) {
      ++p;
      ++n;
    } else if (starAt != std::u16string_view::npos) {
      p = starAt + 1;
      n = ++starTaken;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

std::string JoinPath(const std::string& directory, std::string_view name) {
  if (directory.empty()) return std::string(name);
  if (directory.back() == '/') return directory + std::string(name);
  return directory + "/" + std::string(name);
}

}  // namespace

char16_t FoldCase(char16_t unit) {
  if (unit >= u'a' && unit <= u'z') return unit - 0x20;
  if (unit >= 0xE0 && unit <= 0xFE && unit != 0xF7) return unit - 0x20;
  return unit;
}

bool HasWildcards(std::u16string_view pattern) {
  return pattern.find_first_of(u"*?") != std::u16string_view::npos;
}

std::string NativePath(std::u16string_view name) {
  std::string path = Utf8FromUtf16(name);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

bool NamesEqualIgnoringCase(std::string_view a, std::string_view b) {
  // Folding keeps the UTF-8 length of every letter it touches.
  if (a.size() != b.size()) return false;
  if (a == b) return true;
  std::u16string wideA = Utf16FromUtf8(a), wideB = Utf16FromUtf8(b);
  return std::equal(wideA.begin(), wideA.end(), wideB.begin(), wideB.end(), UnitsEqualIgnoringCase);
}

bool MatchesPattern(std::u16string_view pattern, std::u16string_view name) {
  if (MatchesFrom(pattern, name)) return true;
  bool endsInAnyExtension = pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == u".*";
  return endsInAnyExtension && name.find(u'.') == std::u16string_view::npos &&
         MatchesFrom(pattern.substr(0, pattern.size() - 2), name);
}

std::string FindInDirectoryIgnoringCase(const std::string& directory, std::string_view name) {
  DIR* listing = opendir(directory.empty() ? "." : directory.c_str());
  if (listing == nullptr) return "";
  std::string best;
  while (const dirent* entry = readdir(listing)) {
    std::string_view entryName = entry->d_name;
    if (entryName == "." || entryName == "..") continue;
    if (NamesEqualIgnoringCase(entryName, name) && (best.empty() || entryName < best)) {
      best = entryName;
    }
  }
  closedir(listing);
  return best;
}

bool ResolveName(const std::string& path, ResolvedName* resolved, bool toCreate) {
  struct stat status;
  if (path.empty()) return Fail(kErrorPathNotFound);
  if (lstat(path.c_str(), &status) == 0) {
    *resolved = {path, true};
    return true;
  }
  if (errno != ENOENT && errno != ENOTDIR) return FailWithErrno(errno);

  std::vector<std::string_view> components;
  std::string_view rest = path;
  while (!rest.empty()) {
    size_t slash = rest.find('/');
    std::string_view component = rest.substr(0, slash);
    if (!component.empty()) components.push_back(component);
    rest = slash == std::string_view::npos ? std::string_view{} : rest.substr(slash + 1);
  }
  std::string found = path.front() == '/' ? "/" : "";
  for (size_t i = 0; i < components.size(); ++i) {
    std::string exact = JoinPath(found, components[i]);
    if (components[i] == "." || components[i] == ".." || lstat(exact.c_str(), &status) == 0) {
      found = exact;
      continue;
    }
    bool last = i + 1 == components.size();
    std::string match = last && toCreate ? "" : FindInDirectoryIgnoringCase(found, components[i]);
    if (!match.empty()) {
      found = JoinPath(found, match);
    } else if (last) {
      *resolved = {exact, false};
      return true;
    } else {
      return Fail(kErrorPathNotFound);
    }
  }
  // A trailing separator still asks for a directory.
  if (path.back() == '/' && found.back() != '/') found += '/';
  *resolved = {found, true};
  return true;
}

}  // namespace pf::posix
