// Text files named by small file numbers, read line by line or written unbuffered, and two services
// on names alone: the first directory entry that matches a name, and deleting what matches a name.
// A failing service shows nothing: it records a run-time error number and gives empty text.
#pragma once

#include <cstdint>
#include <string_view>

#include "runtime/text.h"

using FileNumber = int16_t;

// The name of the first ordinary file matching pattern, or empty text. Hidden files, system files
// and directories count only when attributeMask holds their attribute bit.
Text FindFirstName(std::string_view pattern, int attributeMask);

void OpenTextInput(FileNumber number, std::string_view name, uint32_t blockLength);
// Creates the file, or empties an existing one.
void OpenTextOutput(FileNumber number, std::string_view name);

// The next line without its terminator (CR or CR LF). At the end of the file, or at a Ctrl-Z, it
// gives empty text and records 62, again and again.
Text ReadTextLine(FileNumber number);
void WriteText(FileNumber number, std::string_view text);
void WriteLineEnd(FileNumber number);
void CloseFile(FileNumber number);
// Deletes every ordinary file that matches name.
void DeleteFile(std::string_view name);

bool IsFileOpen(FileNumber number);
// True for a file open on a disk (not a device such as a terminal or /dev/full).
bool IsDiskFile(FileNumber number);
