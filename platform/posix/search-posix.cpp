// Directory search: the matching entries of one directory, listed once when the search starts and
// handed out in an order that ignores letter case ("." and ".." first, as Windows gives them).
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "platform/posix/system-posix.h"

namespace pf {

namespace {

using posix::Fail;

// Hidden means a name starting with "." (but "." and ".." themselves); a file without any write
// bit is read-only.
uint32_t AttributesOf(const std::string& directory, const std::string& name) {
  struct stat status;
  std::string path = directory + "/" + name;
  if (stat(path.c_str(), &status) != 0 && lstat(path.c_str(), &status) != 0) {
    return kFileAttributeNormal;  // gone meanwhile, or a link to nothing
  }
  uint32_t attributes = 0;
  if (name.size() > 1 && name[0] == '.' && name != "..") attributes |= kFileAttributeHidden;
  if (S_ISDIR(status.st_mode)) attributes |= kFileAttributeDirectory;
  if (S_ISREG(status.st_mode) && (status.st_mode & 0222) == 0) {
    attributes |= kFileAttributeReadonly;
  }
  return attributes == 0 ? kFileAttributeNormal : attributes;
}

bool ComesFirst(const posix::SearchEntry& a, const posix::SearchEntry& b) {
  std::u16string wideA = posix::Utf16FromUtf8(a.name), wideB = posix::Utf16FromUtf8(b.name);
  auto fold = [](char16_t unit) { return unit >= u'a' && unit <= u'z' ? unit - 0x20 : unit; };
  for (auto& unit : wideA) unit = static_cast<char16_t>(fold(unit));
  for (auto& unit : wideB) unit = static_cast<char16_t>(fold(unit));
  return wideA != wideB ? wideA < wideB : a.name < b.name;
}

void Hand(const posix::SearchEntry& entry, FindData* found) {
  found->attributes = entry.attributes;
  found->name = posix::Utf16FromUtf8(entry.name);
}

}  // namespace

Handle FindFirstFileW(const std::u16string& pattern, FindData* found) {
  std::string path = posix::NativePath(pattern);
  size_t slash = path.rfind('/');
  std::string directoryPart = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  std::u16string leaf =
      posix::Utf16FromUtf8(slash == std::string::npos ? path : path.substr(slash + 1));
  if (leaf.empty()) {
    Fail(kErrorFileNotFound);
    return kInvalidHandle;
  }
  posix::ResolvedName directory;
  if (!posix::ResolveName(directoryPart, &directory)) return kInvalidHandle;
  DIR* listing = directory.exists ? opendir(directory.path.c_str()) : nullptr;
  if (listing == nullptr) {
    Fail(kErrorPathNotFound);
    return kInvalidHandle;
  }
  posix::HandleObject search;
  search.kind = posix::HandleKind::kSearch;
  while (const dirent* entry = readdir(listing)) {
    std::string name = entry->d_name;
    if (posix::MatchesPattern(leaf, posix::Utf16FromUtf8(name))) {
      search.entries.push_back({name, AttributesOf(directory.path, name)});
    }
  }
  closedir(listing);
  if (search.entries.empty()) {
    Fail(kErrorFileNotFound);
    return kInvalidHandle;
  }
  std::sort(search.entries.begin(), search.entries.end(), ComesFirst);
  if (found != nullptr) Hand(search.entries[0], found);
  search.next = 1;
  return posix::AddHandle(std::move(search));
}

bool FindNextFileW(Handle search, FindData* found) {
  posix::HandleObject* object = posix::FindHandle(search, posix::HandleKind::kSearch);
  if (object == nullptr) return false;
  if (object->next >= object->entries.size()) return Fail(kErrorNoMoreFiles);
  if (found != nullptr) Hand(object->entries[object->next], found);
  ++object->next;
  return true;
}

bool FindClose(Handle search) {
  if (posix::FindHandle(search, posix::HandleKind::kSearch) == nullptr) return false;
  return CloseHandle(search);
}

}  // namespace pf
