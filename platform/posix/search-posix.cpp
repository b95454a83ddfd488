// Directory search: the matching entries of one directory, listed once when the search starts and
// handed out in an order that ignores letter case ("." and ".." first, as Windows gives them). A
// name without "*" or "?" finds just the file that opening that name would use.
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
  for (auto& unit : wideA) unit = posix::FoldCase(unit);
  for (auto& unit : wideB) unit = posix::FoldCase(unit);
  return wideA != wideB ? wideA < wideB : a.name < b.name;
}

void Hand(const posix::SearchEntry& entry, FindData* found) {
  found->attributes = entry.attributes;
  found->name = posix::Utf16FromUtf8(entry.name);
}

// Hands out the first entry and keeps the rest for FindNextFileW.
Handle Begin(posix::HandleObject search, FindData* found) {
  if (found != nullptr) Hand(search.entries[0], found);
  search.next = 1;
  return posix::AddHandle(std::move(search));
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
  posix::HandleObject search;
  search.kind = posix::HandleKind::kSearch;
  if (!posix::HasWildcards(leaf)) {
    // A plain name finds the one file that opening it would use: the exact spelling when there is
    // one, so a file beside it that differs only in letter case is never found (nor deleted).
    posix::ResolvedName file;
    if (!posix::ResolveName(path, &file)) return kInvalidHandle;
    if (!file.exists) {
      Fail(kErrorFileNotFound);
      return kInvalidHandle;
    }
    size_t nameAt = file.path.rfind('/');
    std::string folder = nameAt == std::string::npos ? "." : file.path.substr(0, nameAt);
    std::string name = nameAt == std::string::npos ? file.path : file.path.substr(nameAt + 1);
    search.entries.push_back({name, AttributesOf(folder, name)});
    return Begin(std::move(search), found);
  }
  posix::ResolvedName directory;
  if (!posix::ResolveName(directoryPart, &directory)) return kInvalidHandle;
  DIR* listing = directory.exists ? opendir(directory.path.c_str()) : nullptr;
  if (listing == nullptr) {
    Fail(kErrorPathNotFound);
    return kInvalidHandle;
  }
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
  return Begin(std::move(search), found);
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
