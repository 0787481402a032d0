#pragma once
// Processes: started with posix_spawn from an argument vector made of the
// Windows command line. A command line for "cmd.exe /c" runs through
// "/bin/sh -c", every word of it quoted for the shell.

#include <string>
#include <vector>

#include "platform/kernel/handles.h"
#include "platform/win_types.h"
#include "platform/window/user_constants.h"

namespace win {

struct SECURITY_ATTRIBUTES;

constexpr DWORD CREATE_NEW_CONSOLE = 0x00000010;
constexpr DWORD NORMAL_PRIORITY_CLASS = 0x00000020;
constexpr DWORD STARTF_USESHOWWINDOW = 0x00000001;
constexpr DWORD INFINITE = 0xFFFFFFFFu;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;
constexpr DWORD STILL_ACTIVE = 259;

struct STARTUPINFOA {
    DWORD cb = sizeof(STARTUPINFOA);
    DWORD dwFlags = 0;
    WORD wShowWindow = 0;
};

struct PROCESS_INFORMATION {
    HANDLE hProcess = nullptr;
    HANDLE hThread = nullptr;
    DWORD dwProcessId = 0;
    DWORD dwThreadId = 0;
};

BOOL CreateProcessA(LPCSTR application, LPSTR commandLine, SECURITY_ATTRIBUTES* processSecurity,
                    SECURITY_ATTRIBUTES* threadSecurity, BOOL inheritHandles, DWORD flags,
                    void* environment, LPCSTR currentDirectory, STARTUPINFOA* startup,
                    PROCESS_INFORMATION* info);
DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds);
BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode);
BOOL TerminateProcess(HANDLE process, UINT exitCode);
// Answers 33 when the program started, else 2 (not found) or 0.
UINT WinExec(LPCSTR commandLine, UINT show);
[[noreturn]] void ExitProcess(UINT exitCode);

// Our own helpers: the argument vector a Windows command line stands for, and
// a start that runs one without any shell.
std::vector<std::string> commandLineToArguments(const std::string& commandLine);
// The Windows command line that stands for an argument vector: words with
// blanks or quotes are quoted, so commandLineToArguments gives them back.
std::string argumentsToCommandLine(const std::vector<std::string>& argv);
// Starts the program of argv[0] (looked up on PATH) and does not wait; answers
// 0 or the errno of the failure. The child is reaped later.
int spawnDetached(const std::vector<std::string>& argv);
// Reaps the detached children that have ended (the message wait calls it, so
// none stays a zombie while the program runs).
void reapDetached();

}  // namespace win
