// Files and directory search of the Linux system backend, in a real temporary folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "platform/platform.h"
#include "tests/platform/posix/child-process.h"
#include "tests/support/temp-folder.h"

namespace {

namespace fs = std::filesystem;

pf::Handle Open(const std::u16string& name, uint32_t access, uint32_t share = 0,
                uint32_t disposition = pf::kOpenExisting) {
  return pf::CreateFileW(name, access, share, false, disposition, pf::kFileAttributeNormal);
}

std::string ReadHandle(pf::Handle file) {
  char buffer[256];
  uint32_t read = 0;
  EXPECT_TRUE(pf::ReadFile(file, buffer, sizeof buffer, &read));
  return std::string(buffer, read);
}

struct Found {
  std::u16string name;
  uint32_t attributes;
  bool operator==(const Found&) const = default;
};

std::vector<Found> Search(const std::u16string& pattern) {
  std::vector<Found> all;
  pf::FindData data;
  pf::Handle search = pf::FindFirstFileW(pattern, &data);
  if (search == pf::kInvalidHandle) return all;
  do all.push_back({data.name, data.attributes});
  while (pf::FindNextFileW(search, &data));
  EXPECT_EQ(pf::GetLastError(), pf::kErrorNoMoreFiles);
  EXPECT_TRUE(pf::FindClose(search));
  return all;
}

TEST(PosixFiles, NamesIgnoreLetterCaseAndTakeEitherSeparator) {
  testsupport::TempWorkFolder folder;
  fs::create_directory("Sub");
  testsupport::WriteFileBytes("Sub/JT65TEMP.TXT", "listing");
  pf::Handle file = Open(u"sub\\jt65temp.txt", pf::kGenericRead);
  ASSERT_NE(file, pf::kInvalidHandle);
  EXPECT_GE(file, pf::Handle{0x1000});
  EXPECT_EQ(ReadHandle(file), "listing");
  EXPECT_TRUE(pf::CloseHandle(file));

  pf::FindData found;
  pf::Handle search = pf::FindFirstFileW(u"SUB/Jt65Temp.Txt", &found);
  ASSERT_NE(search, pf::kInvalidHandle);
  EXPECT_EQ(found.name, u"JT65TEMP.TXT");
  pf::FindClose(search);

  // A new file keeps its own spelling in the directory found case-blind.
  file = Open(u"SUB/New.Inc", pf::kGenericWrite, 0, pf::kOpenAlways);
  ASSERT_NE(file, pf::kInvalidHandle);
  pf::CloseHandle(file);
  EXPECT_TRUE(fs::exists("Sub/New.Inc"));

  EXPECT_TRUE(pf::DeleteFileW(u"sub/jt65TEMP.txt"));
  EXPECT_FALSE(fs::exists("Sub/JT65TEMP.TXT"));
}

TEST(PosixFiles, ExactSpellingWinsOverOtherCases) {
  testsupport::TempWorkFolder folder;
  testsupport::WriteFileBytes("name", "small");
  testsupport::WriteFileBytes("NAME", "capital");
  testsupport::WriteFileBytes("Émile", "accented");
  pf::Handle file = Open(u"NAME", pf::kGenericRead);
  EXPECT_EQ(ReadHandle(file), "capital");
  pf::CloseHandle(file);
  EXPECT_EQ(Search(u"NAME"), (std::vector<Found>{{u"NAME", pf::kFileAttributeNormal}}));
  EXPECT_EQ(Search(u"émile"), (std::vector<Found>{{u"Émile", pf::kFileAttributeNormal}}));
  EXPECT_TRUE(pf::DeleteFileW(u"NAME"));
  EXPECT_EQ(testsupport::ReadFileBytes("name"), "small");
  EXPECT_EQ(Search(u"Name"), (std::vector<Found>{{u"name", pf::kFileAttributeNormal}}));

  // A file is made under the name given, never into one that differs only in letter case.
  file = Open(u"ÉMILE", pf::kGenericWrite, 0, pf::kCreateAlways);
  pf::CloseHandle(file);
  EXPECT_EQ(testsupport::ReadFileBytes("Émile"), "accented");
  EXPECT_TRUE(fs::exists("ÉMILE"));
  file = Open(u"Name", pf::kGenericWrite, 0, pf::kOpenAlways);
  pf::CloseHandle(file);
  EXPECT_EQ(testsupport::ReadFileBytes("name"), "small");
  EXPECT_TRUE(fs::exists("Name"));
}

TEST(PosixFiles, DispositionsAndAlreadyExists) {
  testsupport::TempWorkFolder folder;
  pf::SetLastError(1234);
  pf::Handle file = Open(u"OUT.INC", pf::kGenericWrite, 0, pf::kOpenAlways);
  ASSERT_NE(file, pf::kInvalidHandle);
  EXPECT_EQ(pf::GetLastError(), 1234u) << "a success that creates leaves the last error alone";
  uint32_t written = 0;
  EXPECT_TRUE(pf::WriteFile(file, "0123456789", 10, &written));
  EXPECT_EQ(written, 10u);
  pf::CloseHandle(file);

  file = Open(u"OUT.INC", pf::kGenericWrite, 0, pf::kOpenAlways);
  EXPECT_EQ(pf::GetLastError(), pf::kErrorAlreadyExists);
  pf::CloseHandle(file);
  EXPECT_EQ(testsupport::ReadFileBytes("OUT.INC"), "0123456789")
      << "OPEN_ALWAYS must not empty the file";

  file = Open(u"OUT.INC", pf::kGenericWrite, 0, pf::kCreateAlways);
  EXPECT_EQ(pf::GetLastError(), pf::kErrorAlreadyExists);
  pf::CloseHandle(file);
  EXPECT_EQ(testsupport::ReadFileBytes("OUT.INC"), "");

  EXPECT_EQ(Open(u"MISSING.TXT", pf::kGenericRead), pf::kInvalidHandle);
  EXPECT_EQ(pf::GetLastError(), pf::kErrorFileNotFound);
  EXPECT_EQ(Open(u"NODIR\\X.TXT", pf::kGenericWrite, 0, pf::kOpenAlways), pf::kInvalidHandle);
  EXPECT_EQ(pf::GetLastError(), pf::kErrorPathNotFound);
  fs::create_directory("Folder");
  EXPECT_EQ(Open(u"folder", pf::kGenericRead), pf::kInvalidHandle);
  EXPECT_EQ(pf::GetLastError(), pf::kErrorAccessDenied);
}

TEST(PosixFiles, ExclusiveOpenKeepsOthersOutWithinOneProcess) {
  testsupport::TempWorkFolder folder;
  testsupport::WriteFileBytes("JT65TEMP.TXT", "kept");
  pf::Handle held = Open(u"JT65TEMP.TXT", pf::kGenericRead);
  ASSERT_NE(held, pf::kInvalidHandle);
  EXPECT_EQ(Open(u"jt65temp.txt", pf::kGenericRead), pf::kInvalidHandle);
  EXPECT_EQ(pf::GetLastError(), pf::kErrorSharingViolation);
  EXPECT_EQ(Open(u"JT65TEMP.TXT", pf::kGenericWrite, 0, pf::kCreateAlways), pf::kInvalidHandle);
  EXPECT_EQ(pf::GetLastError(), pf::kErrorSharingViolation);
  EXPECT_FALSE(pf::DeleteFileW(u"JT65TEMP.TXT"));
  EXPECT_EQ(pf::GetLastError(), pf::kErrorSharingViolation);
  EXPECT_EQ(testsupport::ReadFileBytes("JT65TEMP.TXT"), "kept")
      << "a refused open or delete must change nothing";
  pf::CloseHandle(held);

  pf::Handle reader = Open(u"JT65TEMP.TXT", pf::kGenericRead, pf::kFileShareRead);
  pf::Handle second = Open(u"JT65TEMP.TXT", pf::kGenericRead, pf::kFileShareRead);
  EXPECT_NE(second, pf::kInvalidHandle);
  EXPECT_EQ(Open(u"JT65TEMP.TXT", pf::kGenericRead), pf::kInvalidHandle);
  pf::CloseHandle(reader);
  pf::CloseHandle(second);
  EXPECT_TRUE(pf::DeleteFileW(u"JT65TEMP.TXT"));
}

TEST(PosixFiles, ReadOnlyFileRefusesWritingAndDeletion) {
  testsupport::TempWorkFolder folder;
  testsupport::WriteFileBytes("LOCKED.INC", "old");
  fs::permissions("LOCKED.INC", fs::perms::owner_read | fs::perms::group_read);
  EXPECT_EQ(Open(u"LOCKED.INC", pf::kGenericWrite, 0, pf::kOpenAlways), pf::kInvalidHandle);
  EXPECT_EQ(pf::GetLastError(), pf::kErrorAccessDenied);
  EXPECT_FALSE(pf::DeleteFileW(u"locked.inc"));
  EXPECT_EQ(pf::GetLastError(), pf::kErrorAccessDenied);
  pf::Handle reader = Open(u"LOCKED.INC", pf::kGenericRead);
  EXPECT_EQ(ReadHandle(reader), "old");
  pf::CloseHandle(reader);
  EXPECT_EQ(Search(u"LOCKED.INC"),
            (std::vector<Found>{{u"LOCKED.INC", pf::kFileAttributeReadonly}}));
}

TEST(PosixFiles, DeleteRefusesDirectoriesAndReportsMissingFiles) {
  testsupport::TempWorkFolder folder;
  fs::create_directory("Folder");
  EXPECT_FALSE(pf::DeleteFileW(u"FOLDER"));
  EXPECT_EQ(pf::GetLastError(), pf::kErrorAccessDenied);
  EXPECT_FALSE(pf::DeleteFileW(u"GONE.TXT"));
  EXPECT_EQ(pf::GetLastError(), pf::kErrorFileNotFound);
  EXPECT_FALSE(pf::DeleteFileW(u"NODIR\\GONE.TXT"));
  EXPECT_EQ(pf::GetLastError(), pf::kErrorPathNotFound);
}

TEST(PosixFiles, SearchGivesAttributesAndWindowsPatterns) {
  testsupport::TempWorkFolder folder;
  testsupport::WriteFileBytes(".hidden", "");
  testsupport::WriteFileBytes("Visible.txt", "");
  fs::create_directory("Folder");
  fs::create_directory(".cache");
  const uint32_t hidden = pf::kFileAttributeHidden, directory = pf::kFileAttributeDirectory;
  EXPECT_EQ(Search(u"*"), (std::vector<Found>{{u".", directory},
                                              {u"..", directory},
                                              {u".cache", hidden | directory},
                                              {u".hidden", hidden},
                                              {u"Folder", directory},
                                              {u"Visible.txt", pf::kFileAttributeNormal}}));
  EXPECT_EQ(Search(u"*.*").size(), 6u) << "*.* also matches names without a dot";
  EXPECT_EQ(Search(u"?ISIBLE.T*"), (std::vector<Found>{{u"Visible.txt", 0x80}}));

  pf::FindData data;
  EXPECT_EQ(pf::FindFirstFileW(u"*.INC", &data), pf::kInvalidHandle);
  EXPECT_EQ(pf::GetLastError(), pf::kErrorFileNotFound);
  EXPECT_EQ(pf::FindFirstFileW(u"NODIR\\*", &data), pf::kInvalidHandle);
  EXPECT_EQ(pf::GetLastError(), pf::kErrorPathNotFound);
  EXPECT_EQ(Search(u"folder\\..\\VISIBLE.TXT").size(), 1u);
}

TEST(PosixFiles, DevicesAndFullDisk) {
  pf::Handle full = Open(u"/dev/full", pf::kGenericWrite);
  ASSERT_NE(full, pf::kInvalidHandle);
  EXPECT_EQ(pf::GetFileType(full), pf::kFileTypeChar);
  uint32_t written = 7;
  EXPECT_FALSE(pf::WriteFile(full, "de", 2, &written));
  EXPECT_EQ(pf::GetLastError(), pf::kErrorDiskFull);
  EXPECT_EQ(written, 0u);
  pf::CloseHandle(full);
  // Devices take no part in sharing: two exclusive opens of /dev/null both work.
  pf::Handle null1 = Open(u"/dev/null", pf::kGenericWrite),
             null2 = Open(u"/dev/null", pf::kGenericWrite);
  EXPECT_NE(null2, pf::kInvalidHandle);
  pf::CloseHandle(null1);
  pf::CloseHandle(null2);
}

TEST(PosixFiles, PositionsEndOfFileAndStaleHandles) {
  testsupport::TempWorkFolder folder;
  pf::Handle file = Open(u"DATA", pf::kGenericRead | pf::kGenericWrite, 0, pf::kCreateAlways);
  EXPECT_EQ(pf::GetFileType(file), pf::kFileTypeDisk);
  pf::WriteFile(file, "hello world", 11, nullptr);
  EXPECT_EQ(pf::SetFilePointer(file, 5, nullptr, pf::kFileBegin), 5u);
  EXPECT_TRUE(pf::SetEndOfFile(file));
  EXPECT_EQ(fs::file_size("DATA"), 5u);
  EXPECT_EQ(ReadHandle(file), "") << "reading at the end gives no bytes and no failure";
  EXPECT_EQ(pf::SetFilePointer(file, -6, nullptr, pf::kFileBegin), pf::kInvalidSetFilePointer);
  int32_t high = 1;
  EXPECT_EQ(pf::SetFilePointer(file, 2, &high, pf::kFileBegin), 2u);
  EXPECT_EQ(high, 1);
  pf::SetFilePointer(file, 1, nullptr, pf::kFileBegin);
  EXPECT_EQ(ReadHandle(file), "ello");
  EXPECT_TRUE(pf::CloseHandle(file));

  EXPECT_FALSE(pf::CloseHandle(file));
  EXPECT_EQ(pf::GetLastError(), pf::kErrorInvalidHandle);
  EXPECT_FALSE(pf::WriteFile(file, "x", 1, nullptr));
  EXPECT_EQ(pf::GetLastError(), pf::kErrorInvalidHandle);
}

}  // namespace
