#pragma once
// Whole files and directories: the current directory, deleting (with
// wildcards), renaming and copying files, listing a directory into an array
// of names, and a file's size, time and attributes. Operating-system failures
// are reported as error 13 with the system's text.

#include <span>
#include <string>
#include <string_view>

#include "toolkit/core/text_args.h"

namespace tk {

void OsDirChange(std::string_view directory);
void OsDirName(TextOut directory);
void OsDirMake(std::string_view directory);
void OsDeleteFile(std::string_view name);
void OsRenameFile(std::string_view oldName, std::string_view newName);
void OsCopyFile(std::string_view source, std::string_view target);
// Lists the selected entries of a directory matching a pattern ("*.*" when
// blank) into names, sorted by their upper-case names. count: in the capacity
// (at most names.size()), out the number listed.
void OsDirInfo(std::string_view directory, std::string_view pattern, std::span<TextOut> names,
               int& count);
void DirEntryCount(std::string_view directory, std::string_view pattern, int& count);
// As OsDirInfo, with the DOS date and time and the size of each entry in the
// optional arrays (empty spans when not wanted).
void DirEntryDetails(std::string_view directory, std::string_view pattern, std::span<TextOut> names,
                     int& count, std::span<int> dates, std::span<int> sizes);
// "F" selects files, "D" directories (either case).
void ParseAttributeLetters(std::string_view text);
void FormatAttributeLetters(TextOut text);
bool DirectoryExists(std::string_view path);
// The name as this system's files spell it: where the exact name does not
// exist, each part of the path is matched without regard to case, as names
// typed or built in upper case are meant.
std::string OsHostPath(std::string_view name);
// Items 1 to min(n, 9): size (-1 when no file matches), year, month, day,
// hour, minute, second of the last write (local time), attributes, size in
// kilobytes rounded up. Sizes that do not fit 31 bits are capped.
void FileInfoQuery(std::string_view name, std::span<int> info, int n);

// The platform side: NUL-terminated texts, error = the OS error code.
void Win32DirChange(const char* directory, int& error);
void Win32DirName(char* buffer, int length, int& error, int& tooSmall);
void Win32DirMake(const char* directory, int& error);
void Win32DirRemove(const char* directory, int& error);
void Win32FileDelete(const char* name, int& error);
void Win32FileMove(int& error, const char* oldName, const char* newName);
void Win32FileCopy(const char* source, const char* target, int& error);
void Win32FileAttributesSet(int attributes, int& error, const char* name);
void Win32FileInfo(int& size, int& year, int& month, int& day, int& hour, int& minute, int& second,
                   int& attributes, int& kilobytes, const char* name);
// next 0 starts a search of the pattern in buffer, otherwise continues it;
// the found name replaces the start of the buffer. error 1 when no further
// entry is found.
void Win32FindFile(int next, char* buffer, int length, int& attributes, int& dosDateTime, int& size,
                   int& error);
void Win32FindClose();
void Win32FullPathName(int& error, const char* name, char* buffer, int length);
void Win32FindExecutable(int& result, const char* file, char* buffer, int length);
void Win32FileTimesGet(int& creationLow, int& creationHigh, int& accessLow, int& accessHigh,
                       int& writeLow, int& writeHigh, const char* name);
void Win32FileTimesSet(int creationLow, int creationHigh, int accessLow, int accessHigh,
                       int writeLow, int writeHigh, const char* name);
void Win32FileTimesCopy(const char* source, const char* target);

}  // namespace tk
