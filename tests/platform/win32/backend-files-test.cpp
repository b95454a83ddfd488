// The Win32 backend's files and directory search, against real files in a scratch folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "platform/platform.h"
#include "tests/support/temp-folder.h"

namespace {

using testsupport::TempFolder;

pf::Handle OpenForWriting(const std::u16string& name, uint32_t share = 0) {
  return pf::CreateFileW(name, pf::kGenericWrite, share, false, pf::kCreateAlways,
                         pf::kFileAttributeNormal);
}

pf::Handle OpenForReading(const std::u16string& name, uint32_t share = 0) {
  return pf::CreateFileW(name, pf::kGenericRead, share, false, pf::kOpenExisting,
                         pf::kFileAttributeNormal);
}

void MakeFile(const std::u16string& name, const std::string& bytes) {
  pf::Handle file = OpenForWriting(name);
  ASSERT_NE(file, pf::kInvalidHandle);
  uint32_t written = 0;
  ASSERT_TRUE(pf::WriteFile(file, bytes.data(), static_cast<uint32_t>(bytes.size()), &written));
  ASSERT_EQ(written, bytes.size());
  ASSERT_TRUE(pf::CloseHandle(file));
}

std::string ReadWhole(const std::u16string& name) {
  pf::Handle file = OpenForReading(name);
  if (file == pf::kInvalidHandle) return "<cannot open>";
  std::string all;
  char block[64];
  uint32_t got = 0;
  while (pf::ReadFile(file, block, sizeof(block), &got) && got > 0) all.append(block, got);
  pf::CloseHandle(file);
  return all;
}

TEST(Win32Files, WrittenBytesReadBackUnchanged) {
  TempFolder folder;
  const std::string bytes("de d'41'\r\nlone\nlf\x1a\x00end", 20);
  MakeFile(folder.Name("OUT.INC"), bytes);
  EXPECT_EQ(ReadWhole(folder.Name("OUT.INC")), bytes);
}

TEST(Win32Files, DiskFileReportsDiskType) {
  TempFolder folder;
  pf::Handle file = OpenForWriting(folder.Name("A.TXT"));
  ASSERT_NE(file, pf::kInvalidHandle);
  EXPECT_EQ(pf::GetFileType(file), pf::kFileTypeDisk);
  pf::CloseHandle(file);
}

TEST(Win32Files, OpenAlwaysOnExistingFileSucceedsWithAlreadyExists) {
  TempFolder folder;
  MakeFile(folder.Name("OLD.INC"), "old");
  pf::SetLastError(0);
  pf::Handle file = pf::CreateFileW(folder.Name("OLD.INC"), pf::kGenericWrite, 0, true,
                                    pf::kOpenAlways, pf::kFileAttributeNormal);
  EXPECT_EQ(pf::GetLastError(), pf::kErrorAlreadyExists);
  ASSERT_NE(file, pf::kInvalidHandle);
  pf::CloseHandle(file);
  EXPECT_EQ(ReadWhole(folder.Name("OLD.INC")), "old");  // OPEN_ALWAYS keeps the contents
}

TEST(Win32Files, PointerToStartAndEndOfFileEmptiesTheFile) {
  TempFolder folder;
  MakeFile(folder.Name("BIG.INC"), std::string(500, 'x'));
  pf::Handle file = pf::CreateFileW(folder.Name("BIG.INC"), pf::kGenericWrite, 0, false,
                                    pf::kOpenAlways, pf::kFileAttributeNormal);
  ASSERT_NE(file, pf::kInvalidHandle);
  int32_t high = 0;
  EXPECT_EQ(pf::SetFilePointer(file, 0, &high, pf::kFileBegin), 0u);
  EXPECT_EQ(high, 0);
  EXPECT_TRUE(pf::SetEndOfFile(file));
  pf::CloseHandle(file);
  EXPECT_EQ(ReadWhole(folder.Name("BIG.INC")), "");
}

TEST(Win32Files, PointerMovesReadsToTheGivenOffset) {
  TempFolder folder;
  MakeFile(folder.Name("L.TXT"), "0123456789");
  pf::Handle file = OpenForReading(folder.Name("L.TXT"));
  ASSERT_NE(file, pf::kInvalidHandle);
  int32_t high = 0;
  EXPECT_EQ(pf::SetFilePointer(file, 7, &high, pf::kFileBegin), 7u);
  char got[8] = {};
  uint32_t count = 0;
  EXPECT_TRUE(pf::ReadFile(file, got, sizeof(got), &count));
  EXPECT_EQ(std::string(got, count), "789");
  EXPECT_TRUE(pf::ReadFile(file, got, sizeof(got), &count));  // at the end: success, 0 bytes
  EXPECT_EQ(count, 0u);
  pf::CloseHandle(file);
}

TEST(Win32Files, ExclusiveOpenRefusesAnyOtherOpen) {
  TempFolder folder;
  MakeFile(folder.Name("X.TXT"), "x");
  pf::Handle first = OpenForReading(folder.Name("X.TXT"));
  ASSERT_NE(first, pf::kInvalidHandle);
  pf::SetLastError(0);
  EXPECT_EQ(OpenForReading(folder.Name("X.TXT"), pf::kFileShareRead), pf::kInvalidHandle);
  EXPECT_EQ(pf::GetLastError(), pf::kErrorSharingViolation);
  pf::SetLastError(0);
  EXPECT_FALSE(pf::DeleteFileW(folder.Name("X.TXT")));
  EXPECT_EQ(pf::GetLastError(), pf::kErrorSharingViolation);
  // Its size can still be read, without opening it.
  EXPECT_EQ(std::filesystem::file_size(folder.path / "X.TXT"), 1u);
  pf::CloseHandle(first);
}

TEST(Win32Files, MissingFileAndMissingFolderHaveTheirOwnErrors) {
  TempFolder folder;
  pf::SetLastError(0);
  EXPECT_EQ(OpenForReading(folder.Name("NONE.TXT")), pf::kInvalidHandle);
  EXPECT_EQ(pf::GetLastError(), pf::kErrorFileNotFound);
  pf::SetLastError(0);
  EXPECT_EQ(OpenForReading(folder.Name("NODIR\\NONE.TXT")), pf::kInvalidHandle);
  EXPECT_EQ(pf::GetLastError(), pf::kErrorPathNotFound);
}

TEST(Win32Files, NamesAreFoundWhateverTheirLetterCase) {
  TempFolder folder;
  MakeFile(folder.Name("JT65TEMP.TXT"), "listing");
  EXPECT_EQ(ReadWhole(folder.Name("JT65Temp.txt")), "listing");
  pf::FindData found;
  pf::Handle search = pf::FindFirstFileW(folder.Name("jt65temp.txt"), &found);
  ASSERT_NE(search, pf::kInvalidHandle);
  EXPECT_EQ(found.name, u"JT65TEMP.TXT");  // the name as stored, without its folder
  pf::FindClose(search);
  EXPECT_TRUE(pf::DeleteFileW(folder.Name("jt65temp.TXT")));
  EXPECT_EQ(ReadWhole(folder.Name("JT65TEMP.TXT")), "<cannot open>");
}

TEST(Win32Files, SearchReportsAttributesAndRunsOut) {
  TempFolder folder;
  MakeFile(folder.Name("A.TXT"), "a");
  pf::Handle hidden = pf::CreateFileW(folder.Name("H.TXT"), pf::kGenericWrite, 0, false,
                                      pf::kCreateAlways, pf::kFileAttributeHidden);
  ASSERT_NE(hidden, pf::kInvalidHandle);
  pf::CloseHandle(hidden);
  std::filesystem::create_directory(folder.path / "SUB");

  pf::FindData found;
  pf::Handle search = pf::FindFirstFileW(folder.Name("*"), &found);
  ASSERT_NE(search, pf::kInvalidHandle);
  std::map<std::u16string, uint32_t> entries;
  do {
    entries[found.name] = found.attributes;
  } while (pf::FindNextFileW(search, &found));
  EXPECT_EQ(pf::GetLastError(), pf::kErrorNoMoreFiles);
  EXPECT_TRUE(pf::FindClose(search));

  ASSERT_EQ(entries.count(u"A.TXT"), 1u);
  EXPECT_EQ(entries[u"A.TXT"] & (pf::kFileAttributeHidden | pf::kFileAttributeDirectory), 0u);
  ASSERT_EQ(entries.count(u"SUB"), 1u);
  EXPECT_NE(entries[u"SUB"] & pf::kFileAttributeDirectory, 0u);
  ASSERT_EQ(entries.count(u"H.TXT"), 1u);
  EXPECT_NE(entries[u"H.TXT"] & pf::kFileAttributeHidden, 0u);
}

TEST(Win32Files, SearchForNothingFailsWithFileNotFound) {
  TempFolder folder;
  pf::SetLastError(0);
  pf::FindData found;
  EXPECT_EQ(pf::FindFirstFileW(folder.Name("JT65CODE.EXE"), &found), pf::kInvalidHandle);
  EXPECT_EQ(pf::GetLastError(), pf::kErrorFileNotFound);
}

TEST(Win32Files, DeleteRefusesMissingAndReadOnlyFiles) {
  TempFolder folder;
  pf::SetLastError(0);
  EXPECT_FALSE(pf::DeleteFileW(folder.Name("NONE.TXT")));
  EXPECT_EQ(pf::GetLastError(), pf::kErrorFileNotFound);

  MakeFile(folder.Name("RO.TXT"), "keep");
  std::filesystem::permissions(folder.path / "RO.TXT", std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  pf::SetLastError(0);
  EXPECT_FALSE(pf::DeleteFileW(folder.Name("RO.TXT")));
  EXPECT_EQ(pf::GetLastError(), pf::kErrorAccessDenied);
  EXPECT_EQ(ReadWhole(folder.Name("RO.TXT")), "keep");

  pf::SetLastError(0);
  pf::Handle file = pf::CreateFileW(folder.Name("RO.TXT"), pf::kGenericWrite, 0, false,
                                    pf::kOpenAlways, pf::kFileAttributeNormal);
  EXPECT_EQ(file, pf::kInvalidHandle);
  EXPECT_EQ(pf::GetLastError(), pf::kErrorAccessDenied);
  if (file != pf::kInvalidHandle) pf::CloseHandle(file);
}

TEST(Win32Files, InheritableAndPlainHandlesBothWork) {
  TempFolder folder;
  for (bool inheritable : {false, true}) {
    pf::Handle file = pf::CreateFileW(folder.Name("I.TXT"), pf::kGenericWrite, 0, inheritable,
                                      pf::kCreateAlways, pf::kFileAttributeNormal);
    ASSERT_NE(file, pf::kInvalidHandle) << inheritable;
    EXPECT_TRUE(pf::CloseHandle(file));
  }
}

TEST(Win32Files, ClosingAnInvalidHandleFails) {
  pf::SetLastError(0);
  EXPECT_FALSE(pf::CloseHandle(0));
  EXPECT_EQ(pf::GetLastError(), pf::kErrorInvalidHandle);
}

}  // namespace
