#pragma once
// Thin wrappers over the operating system for the toolkit's process and
// environment routines, the error reporter and the output devices. They take
// NUL-terminated texts, report nothing themselves, and give OS error codes
// (0 on success) through their outputs.

#include <string>
#include <vector>

namespace tk {

void Win32ErrorBox(const char* caption, const char* text);
void Win32VersionNumbers(int& major, int& minor);
// result: length copied, the size needed (NUL included) when the buffer is too
// small, 0 when the variable is not set.
void Win32EnvironmentGet(int& result, const char* name, char* buffer, int size);
void Win32EnvironmentSet(const char* name, const char* value);
// result 32 or more when the program started.
void Win32ProgramStart(int& result, const char* command);
// Runs a command line. wait 0: result as Win32ProgramStart. Otherwise the
// process is awaited: timeout below 0 for ever (painting windows meanwhile),
// else that many seconds. result 32 = ended, -1 = timed out, else the OS error.
void Win32RunProcess(const char* command, int hide, int wait, int timeoutSeconds, int& result);
// Runs a program from its argument vector (no shell between) and waits for
// it, painting windows meanwhile: result 32 and its exit code when it ran,
// else the OS error (the program could not be started).
void Win32RunProgram(const std::vector<std::string>& argv, int& result, int& exitCode);
void Win32LocalDate(int& year, int& month, int& day);
void Win32LocalTime(int& hour, int& minute, int& second, int& milliseconds);
void Win32DiskFreeBytes(int& bytes);
void Win32DiskFreeMegabytes(int& megabytes);
[[noreturn]] void Win32ProcessExit(int code);
void Win32VolumeSerial(int& serial, const char* root);
void Win32SystemDirectory(char* buffer, int size, int& error);
void Win32CommandLine(char* buffer, int size);
void Win32ModulePath(char* buffer, int size);
void Win32DriveType(int& type, const char* root);
void Win32UserName(int& error, int& tooSmall, char* buffer, int size);
void Win32ErrorText(int code, char* buffer, int size);
// 2 Win32s, 4 NT family, 3 any other platform.
void WindowsPlatformQuery(int& kind);

// The registry (kept in a small file of the user's configuration folder):
// results and errors are the platform's codes, 0 on success.
void Win32RegistryKeyDelete(int rootKey, int& result, const char* subKey);
void Win32RegistryValueDelete(int rootKey, int& result, const char* subKey, const char* name);
void Win32RegistryValueRead(int rootKey, int& type, int& size, const char* subKey, const char* name,
                            void* data);
void Win32RegistryValueWrite(int rootKey, int type, int& result, const char* subKey,
                             const char* name, const void* data, int dataSize);

}  // namespace tk
