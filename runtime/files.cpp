// The file services: the table of open files, the block reader that cuts lines at CR, the
// unbuffered writer, and the name services built on the platform's directory search.
#include "runtime/files.h"

#include <atomic>
#include <memory>
#include <new>

#include "platform/platform.h"
#include "runtime/errors.h"
#include "runtime/spin-lock.h"
#include "runtime/thread-record.h"

namespace {

constexpr size_t kMaxOpenName = 255;
constexpr size_t kMaxPattern = 256;
constexpr size_t kLineScratch = 256;
constexpr unsigned char kCr = 0x0D;
constexpr unsigned char kLf = 0x0A;
constexpr unsigned char kCtrlZ = 0x1A;

enum class FileKind { kInput, kOutput };
enum DeviceClass : uint16_t { kDisk = 1, kOtherDevice = 2 };

struct OpenFile {
  OpenFile* next = nullptr;
  FileNumber number = 0;
  pf::Handle handle = pf::kInvalidHandle;
  uint16_t deviceClass = kDisk;
  FileKind kind = FileKind::kInput;
  uint32_t access = 0;
  WideText name;             // kept while the file is open, though nothing reads it back
  uint64_t bufferStart = 0;  // input: file offset of the buffer; output: bytes written so far
  uint32_t blockLength = 1;
  uint32_t bufferPosition = 0;  // input: next unread byte; output: the column
  uint32_t bytesInBuffer = 0;
  bool fromExistingHandle = false;
  std::unique_ptr<unsigned char[]> buffer;
};

// Spinning lock words: the file table, a whole open, and (in errors.cpp) one platform call. Kept
// though the program has one thread: the file services are made to serialise themselves.
std::atomic<int> fileTableLock{0};
std::atomic<int> openLock{0};
OpenFile* fileTable = nullptr;

OpenFile* Lookup(FileNumber number) {
  SpinLock lock(fileTableLock);
  for (OpenFile* f = fileTable; f != nullptr; f = f->next)
    if (f->number == number) return f;
  return nullptr;
}

void Insert(OpenFile* file) {
  SpinLock lock(fileTableLock);
  file->next = fileTable;
  fileTable = file;
}

void Remove(OpenFile* file) {
  SpinLock lock(fileTableLock);
  for (OpenFile** link = &fileTable; *link != nullptr; link = &(*link)->next) {
    if (*link == file) {
      *link = file->next;
      return;
    }
  }
}

// Records failure when there is one; true when there was none.
bool Succeeded(int failure) {
  if (failure == 0) return true;
  RecordRuntimeError(failure);
  return false;
}

bool IsSeparator(char16_t c) {
  return c == u':' || c == u'\\' || c == u'/';
}

WideText PatternForSearch(std::string_view text) {
  WideText pattern = ToWide(text).substr(0, kMaxPattern);
  if (!pattern.empty() && (pattern.back() == u':' || pattern.back() == u'\\')) pattern += u"*.*";
  return pattern;
}

bool Skipped(const pf::FindData& entry, uint32_t skipBits) {
  return (entry.attributes & skipBits) != 0 || entry.name == u"." || entry.name == u"..";
}

// Seeks to offset and reads one block; gives the failure's run-time error number, 0 on success.
int ReadBlockAt(OpenFile* file, uint64_t offset) {
  int failure = 0;
  int32_t high = static_cast<int32_t>(offset >> 32);
  PlatformCall(&failure, [&] {
    return pf::SetFilePointer(file->handle, static_cast<int32_t>(offset & 0xFFFFFFFF), &high,
                              pf::kFileBegin);
  });
  if (failure != 0) return failure;
  file->bufferStart = offset;
  file->bufferPosition = 0;
  file->bytesInBuffer = 0;
  uint32_t read = 0;
  PlatformCall(&failure, [&] {
    return pf::ReadFile(file->handle, file->buffer.get(), file->blockLength, &read);
  });
  if (failure == 0) file->bytesInBuffer = read;
  return failure;
}

// Reads the block after the bytes taken so far; false (the error recorded) when that fails.
bool Refill(OpenFile* file) {
  return Succeeded(ReadBlockAt(file, file->bufferStart + file->bufferPosition));
}

void OpenTextFile(FileNumber number, std::string_view name, FileKind kind, uint32_t blockLength) {
  SpinLock whole(openLock);
  WideText wideName = ToWide(name).substr(0, kMaxOpenName);
  if (wideName.empty() || wideName.find_first_of(u"*?") != WideText::npos) {
    RecordRuntimeError(kErrBadFileName);
    return;
  }
  if (number < 0) {
    RecordRuntimeError(kErrBadFileNumber);
    return;
  }
  if (kind == FileKind::kInput && blockLength < 1) {
    RecordRuntimeError(kErrBadCall);
    return;
  }
  if (kind == FileKind::kOutput) blockLength = 1;
  if (Lookup(number) != nullptr) {
    RecordRuntimeError(kErrFileAlreadyOpen);
    return;
  }

  OpenFile* file = new (std::nothrow) OpenFile{};
  unsigned char* buffer = file ? new (std::nothrow) unsigned char[blockLength] : nullptr;
  if (buffer == nullptr) {
    delete file;
    RecordRuntimeError(kErrOutOfMemory);
    return;
  }
  file->buffer.reset(buffer);
  file->number = number;
  file->kind = kind;
  file->blockLength = blockLength;
  file->access = kind == FileKind::kInput ? pf::kGenericRead : pf::kGenericWrite;
  Insert(file);

  auto abandon = [&](int failure) {
    if (file->handle != pf::kInvalidHandle) pf::CloseHandle(file->handle);
    Remove(file);
    delete file;
    RecordRuntimeError(failure);
  };

  int failure = 0;
  uint32_t disposition = kind == FileKind::kInput ? pf::kOpenExisting : pf::kOpenAlways;
  file->handle = PlatformCall(&failure, [&] {
    return pf::CreateFileW(wideName, file->access, 0, true, disposition, pf::kFileAttributeNormal);
  });
  if (file->handle == pf::kInvalidHandle) {
    abandon(failure != 0 ? failure : MapPlatformError(0xFFFF));
    return;
  }
  uint32_t type = PlatformCall(&failure, [&] { return pf::GetFileType(file->handle); });
  file->deviceClass = type == pf::kFileTypeDisk ? kDisk : kOtherDevice;

  if (file->deviceClass == kDisk) {
    if (kind == FileKind::kOutput) {
      // The output always starts from an empty file.
      int32_t high = 0;
      PlatformCall(&failure,
                   [&] { return pf::SetFilePointer(file->handle, 0, &high, pf::kFileBegin); });
      if (failure == 0) PlatformCall(&failure, [&] { return pf::SetEndOfFile(file->handle); });
    } else {
      failure = ReadBlockAt(file, 0);
    }
    if (failure != 0) return abandon(failure);
  }
  file->name = std::move(wideName);
}

// Writes bytes as one platform write; records an error when not all of them reached the file.
void WriteBytes(OpenFile* file, std::string_view bytes) {
  int failure = 0;
  uint32_t written = 0;
  PlatformCall(&failure, [&] {
    return pf::WriteFile(file->handle, bytes.data(), static_cast<uint32_t>(bytes.size()), &written);
  });
  if (!Succeeded(failure)) return;
  if (written < bytes.size()) {
    RecordRuntimeError(file->deviceClass == kDisk ? kErrDiskFull : kErrDeviceIo);
    return;
  }
  file->bufferStart += written;
  file->bufferPosition += written;
}

// The file to write to, or nullptr with the error recorded.
OpenFile* OutputFile(FileNumber number) {
  OpenFile* file = Lookup(number);
  if (file == nullptr) {
    RecordRuntimeError(kErrBadFileNumber);
  } else if (file->kind != FileKind::kOutput) {
    RecordRuntimeError(kErrBadFileMode);
    return nullptr;
  }
  return file;
}

}  // namespace

Text FindFirstName(std::string_view patternText, int attributeMask) {
  SearchState& search = CurrentThreadRecord().search;
  WideText pattern = ToWide(patternText).substr(0, kMaxPattern);
  pf::FindData entry;
  if (pattern.empty()) {
    if (search.handle == pf::kInvalidHandle) return {};
    if (!pf::FindNextFileW(search.handle, &entry)) {
      pf::FindClose(search.handle);
      search.handle = pf::kInvalidHandle;
      return {};
    }
  } else {
    if (search.handle != pf::kInvalidHandle) {
      pf::FindClose(search.handle);
      search.handle = pf::kInvalidHandle;
    }
    pattern = PatternForSearch(patternText);
    int failure = 0;
    pf::Handle handle = PlatformCall(&failure, [&] { return pf::FindFirstFileW(pattern, &entry); });
    if (handle == pf::kInvalidHandle) return {};
    search.handle = handle;
    search.attributeMask = attributeMask;
  }
  const uint32_t skipBits =
      (pf::kFileAttributeHidden | pf::kFileAttributeSystem | pf::kFileAttributeDirectory) &
      ~static_cast<uint32_t>(search.attributeMask);
  while (Skipped(entry, skipBits)) {
    if (!pf::FindNextFileW(search.handle, &entry)) {
      pf::FindClose(search.handle);
      search.handle = pf::kInvalidHandle;
      return {};
    }
  }
  return ToNarrow(entry.name);
}

void OpenTextInput(FileNumber number, std::string_view name, uint32_t blockLength) {
  OpenTextFile(number, name, FileKind::kInput, blockLength);
}

void OpenTextOutput(FileNumber number, std::string_view name) {
  OpenTextFile(number, name, FileKind::kOutput, 1);
}

Text ReadTextLine(FileNumber number) {
  OpenFile* file = Lookup(number);
  if (file == nullptr) {
    RecordRuntimeError(kErrBadFileNumber);
    return {};
  }
  if (file->kind != FileKind::kInput) {
    RecordRuntimeError(kErrBadFileMode);
    return {};
  }
  Text line;
  char scratch[kLineScratch];
  size_t scratchUsed = 0;
  bool collected = false;
  bool sawCr = false;
  for (;;) {
    if (file->bufferPosition >= file->bytesInBuffer) {
      if (!Refill(file)) return {};
      if (file->bytesInBuffer == 0) break;
    }
    unsigned char byte = file->buffer[file->bufferPosition];
    if (byte == kCtrlZ) break;
    ++file->bufferPosition;
    if (byte == kCr) {
      sawCr = true;
      if (file->bufferPosition >= file->bytesInBuffer && !Refill(file)) return {};
      if (file->bufferPosition < file->bytesInBuffer && file->buffer[file->bufferPosition] == kLf)
        ++file->bufferPosition;
      break;
    }
    collected = true;
    scratch[scratchUsed++] = static_cast<char>(byte);
    if (scratchUsed == kLineScratch) {
      line.append(scratch, scratchUsed);
      scratchUsed = 0;
    }
  }
  if (!collected && !sawCr) {
    RecordRuntimeError(kErrInputPastEnd);
    return {};
  }
  line.append(scratch, scratchUsed);
  return line;
}

void WriteText(FileNumber number, std::string_view text) {
  OpenFile* file = Lookup(number);
  if (file == nullptr) {
    RecordRuntimeError(kErrBadFileNumber);
    return;
  }
  if (text.empty()) return;
  if (file->kind != FileKind::kOutput) {
    RecordRuntimeError(kErrBadFileMode);
    return;
  }
  WriteBytes(file, text);
}

void WriteLineEnd(FileNumber number) {
  OpenFile* file = OutputFile(number);
  if (file == nullptr) return;
  uint64_t before = file->bufferStart;
  WriteBytes(file, "\r\n");
  if (file->bufferStart != before) file->bufferPosition = 0;
}

void CloseFile(FileNumber number) {
  OpenFile* file = Lookup(number);
  if (file == nullptr) return;
  Remove(file);
  int firstFailure = 0;
  int failure = 0;
  if (file->kind == FileKind::kOutput && file->deviceClass == kDisk) {
    PlatformCall(&failure, [&] { return pf::SetEndOfFile(file->handle); });
    firstFailure = failure;
  }
  if (!file->fromExistingHandle) {
    PlatformCall(&failure, [&] { return pf::CloseHandle(file->handle); });
    if (firstFailure == 0) firstFailure = failure;
  }
  delete file;
  if (firstFailure != 0) RecordRuntimeError(firstFailure);
}

void DeleteFile(std::string_view nameText) {
  WideText name = ToWide(nameText).substr(0, kMaxPattern);
  if (name.empty()) return;
  WideText pattern = PatternForSearch(nameText);
  size_t lastSeparator = pattern.size();
  while (lastSeparator > 0 && !IsSeparator(pattern[lastSeparator - 1])) --lastSeparator;
  const WideText directory = pattern.substr(0, lastSeparator);

  pf::FindData entry;
  pf::Handle search = pf::FindFirstFileW(pattern, &entry);
  if (search == pf::kInvalidHandle) {
    RecordRuntimeError(kErrFileNotFound);
    return;
  }
  constexpr uint32_t kNotDeleted = pf::kFileAttributeHidden | pf::kFileAttributeSystem |
                                   pf::kFileAttributeVolumeLabel | pf::kFileAttributeDirectory;
  do {
    if (Skipped(entry, kNotDeleted)) continue;
    int failure = 0;
    PlatformCall(&failure, [&] { return pf::DeleteFileW(directory + entry.name); });
    if (failure != 0) {
      pf::FindClose(search);
      RecordRuntimeError(failure);
      return;
    }
  } while (pf::FindNextFileW(search, &entry));
  pf::FindClose(search);
}

bool IsFileOpen(FileNumber number) {
  return Lookup(number) != nullptr;
}

bool IsDiskFile(FileNumber number) {
  OpenFile* file = Lookup(number);
  return file != nullptr && file->deviceClass == kDisk;
}
