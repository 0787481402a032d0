#include "platform/kernel/processes.h"

#include <signal.h>
#include <spawn.h>
#include <strings.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/kernel/errors.h"
#include "platform/kernel/files.h"
#include "platform/kernel/kernel_objects.h"

extern char** environ;

namespace win {
namespace {

std::vector<pid_t>& orphans() {
    static std::vector<pid_t> pids;
    return pids;
}

void reapOrphans() {
    auto& pids = orphans();
    for (std::size_t i = 0; i < pids.size();) {
        int status = 0;
        pid_t r = ::waitpid(pids[i], &status, WNOHANG);
        if (r == pids[i] || (r < 0 && errno == ECHILD))
            pids.erase(pids.begin() + static_cast<long>(i));
        else
            ++i;
    }
}

struct Word {
    std::string text;
    bool quoted = false;
};

// Splits a Windows command line: blanks separate words, double quotes group,
// and backslashes escape a quote only when they stand directly before one.
std::vector<Word> splitWords(const std::string& line) {
    std::vector<Word> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i >= line.size()) break;
        Word w;
        bool inQuotes = false;
        while (i < line.size() && (inQuotes || (line[i] != ' ' && line[i] != '\t'))) {
            if (line[i] == '\\') {
                std::size_t n = 0;
                while (i < line.size() && line[i] == '\\') {
                    ++n;
                    ++i;
                }
                if (i < line.size() && line[i] == '"') {
                    w.text.append(n / 2, '\\');
                    if (n % 2 == 1) {
                        w.text += '"';
                        ++i;
                    }
                } else {
                    w.text.append(n, '\\');
                }
            } else if (line[i] == '"') {
                inQuotes = !inQuotes;
                w.quoted = true;
                ++i;
            } else {
                w.text += line[i++];
            }
        }
        words.push_back(std::move(w));
    }
    return words;
}

bool equalsNoCase(const std::string& a, const char* b) {
    return ::strcasecmp(a.c_str(), b) == 0;
}

std::string baseName(const std::string& path) {
    std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string shellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

bool isShellOperator(const std::string& s) {
    for (const char* op : {">", ">>", "<", "|", "&&", "||", "&", ";", "2>", "2>&1", "2>>"})
        if (s == op) return true;
    return false;
}

bool looksLikeWindowsPath(const std::string& s) {
    return s.find('\\') != std::string::npos ||
           (s.size() >= 2 && s[1] == ':' && std::isalpha(static_cast<unsigned char>(s[0])));
}

// The program a bare Windows name stands for: ".exe" is dropped so the Linux
// program of the same name is found on PATH.
std::string programName(const std::string& word) {
    std::string name = word;
    if (looksLikeWindowsPath(name) || name.find('/') != std::string::npos) name = hostPath(name);
    if (name.size() > 4 && equalsNoCase(name.substr(name.size() - 4), ".exe")) {
        if (::access(name.c_str(), X_OK) != 0) name.resize(name.size() - 4);
    }
    return name;
}

std::vector<std::string> argumentsFor(LPCSTR application, const std::string& commandLine) {
    std::vector<Word> words = splitWords(commandLine);
    std::vector<std::string> argv;
    if (words.size() >= 2 &&
        (equalsNoCase(baseName(words[0].text), "cmd.exe") ||
         equalsNoCase(baseName(words[0].text), "cmd")) &&
        equalsNoCase(words[1].text, "/c")) {
        std::string script;
        for (std::size_t k = 2; k < words.size(); ++k) {
            const Word& w = words[k];
            if (!script.empty()) script += ' ';
            if (!w.quoted && isShellOperator(w.text))
                script += w.text;
            else
                script += shellQuote(looksLikeWindowsPath(w.text) ? hostPath(w.text) : w.text);
        }
        return {"/bin/sh", "-c", script};
    }
    for (const Word& w : words)
        argv.push_back(w.text);
    if (application && *application) {
        if (argv.empty()) argv.push_back(application);
        argv[0] = programName(application);
    } else if (!argv.empty()) {
        argv[0] = programName(argv[0]);
    }
    return argv;
}

int spawn(const std::vector<std::string>& argv, LPCSTR currentDirectory, pid_t* pid) {
    if (argv.empty() || argv[0].empty()) return ENOENT;
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    std::string dir;
    if (currentDirectory && *currentDirectory) {
        dir = hostPath(currentDirectory);
        posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
    }
    int rc = argv[0].find('/') != std::string::npos
                 ? posix_spawn(pid, args[0], &actions, nullptr, args.data(), environ)
                 : posix_spawnp(pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc;
}

void collect(detail::ProcessObject& p, int status) {
    p.ended = true;
    if (WIFEXITED(status))
        p.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status) && p.exitCode == 0)
        p.exitCode = 128 + WTERMSIG(status);
}

bool poll(detail::ProcessObject& p) {
    if (p.ended) return true;
    int status = 0;
    pid_t r = ::waitpid(p.pid, &status, WNOHANG);
    if (r == p.pid) {
        collect(p, status);
        return true;
    }
    if (r < 0) {
        p.ended = true;  // someone else reaped it; its code is lost
        return true;
    }
    return false;
}

std::uint64_t nowMs() {
    timespec ts;
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000u +
           static_cast<std::uint64_t>(ts.tv_nsec / 1000000);
}

}  // namespace

namespace detail {
ProcessObject::~ProcessObject() {
    if (!ended && pid > 0) orphans().push_back(pid);
}
}  // namespace detail

std::vector<std::string> commandLineToArguments(const std::string& commandLine) {
    std::vector<std::string> out;
    for (auto& w : splitWords(commandLine))
        out.push_back(std::move(w.text));
    return out;
}

std::string argumentsToCommandLine(const std::vector<std::string>& argv) {
    std::string line;
    for (const std::string& word : argv) {
        if (!line.empty()) line += ' ';
        if (!word.empty() && word.find_first_of(" \t\"") == std::string::npos) {
            line += word;
            continue;
        }
        // Backslashes count only before a quote: those are doubled, and the
        // quote itself escaped.
        line += '"';
        std::size_t backslashes = 0;
        for (char c : word) {
            if (c == '\\') {
                ++backslashes;
                continue;
            }
            line.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
            backslashes = 0;
            line += c;
        }
        line.append(2 * backslashes, '\\');
        line += '"';
    }
    return line;
}

void reapDetached() {
    reapOrphans();
}

int spawnDetached(const std::vector<std::string>& argv) {
    reapOrphans();
    pid_t pid = -1;
    int rc = spawn(argv, nullptr, &pid);
    if (rc == 0) orphans().push_back(pid);
    return rc;
}

BOOL CreateProcessA(LPCSTR application, LPSTR commandLine, SECURITY_ATTRIBUTES*,
                    SECURITY_ATTRIBUTES*, BOOL, DWORD, void*, LPCSTR currentDirectory,
                    STARTUPINFOA*, PROCESS_INFORMATION* info) {
    reapOrphans();
    std::vector<std::string> argv = argumentsFor(application, commandLine ? commandLine : "");
    pid_t pid = -1;
    int rc = spawn(argv, currentDirectory, &pid);
    if (rc != 0) {
        setLastErrorFromErrno(rc);
        return FALSE;
    }
    auto process = std::make_shared<detail::ProcessObject>();
    process->pid = pid;
    detail::KernelObject p, t;
    p.process = process;
    t.process = process;
    PROCESS_INFORMATION pi;
    pi.hProcess = detail::addObject(std::move(p));
    pi.hThread = detail::addObject(std::move(t));
    pi.dwProcessId = static_cast<DWORD>(pid);
    pi.dwThreadId = static_cast<DWORD>(pid);
    if (info) *info = pi;
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) {
    auto process = detail::findProcess(object);
    if (!process) {
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    std::uint64_t deadline = nowMs() + milliseconds;
    long pauseNs = 200000;
    for (;;) {
        if (poll(*process)) return WAIT_OBJECT_0;
        if (milliseconds != INFINITE && nowMs() >= deadline) return WAIT_TIMEOUT;
        timespec pause{0, pauseNs};
        ::nanosleep(&pause, nullptr);
        if (pauseNs < 10000000) pauseNs *= 2;
    }
}

BOOL GetExitCodeProcess(HANDLE object, DWORD* exitCode) {
    auto process = detail::findProcess(object);
    if (!process) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (exitCode) *exitCode = poll(*process) ? static_cast<DWORD>(process->exitCode) : STILL_ACTIVE;
    return TRUE;
}

BOOL TerminateProcess(HANDLE object, UINT exitCode) {
    auto process = detail::findProcess(object);
    if (!process) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (poll(*process)) return TRUE;
    process->exitCode = static_cast<int>(exitCode);
    ::kill(process->pid, SIGKILL);
    int status = 0;
    if (::waitpid(process->pid, &status, 0) == process->pid) {
        process->ended = true;
        if (WIFEXITED(status)) process->exitCode = WEXITSTATUS(status);
    }
    return TRUE;
}

UINT WinExec(LPCSTR commandLine, UINT) {
    reapOrphans();
    std::vector<std::string> argv = argumentsFor(nullptr, commandLine ? commandLine : "");
    pid_t pid = -1;
    int rc = spawn(argv, nullptr, &pid);
    if (rc != 0) {
        setLastErrorFromErrno(rc);
        return rc == ENOENT ? 2u : 0u;
    }
    orphans().push_back(pid);
    return 33;
}

void ExitProcess(UINT exitCode) {
    std::fflush(nullptr);
    std::exit(static_cast<int>(exitCode));
}

}  // namespace win
