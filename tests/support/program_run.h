// Runs a built program as a child process, with its output in files and
// optionally under resource limits, for tests that check what a program
// does and leaves behind (several may run at once).
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "common/platform/files.h"
#include "tests/support/temp_folder.h"

namespace parvex::testing {

// A program the build made, in the programs' folder: "ParvexSub" is
// bin/ParvexSub, or bin/ParvexSub.exe on Windows.
inline std::filesystem::path BuiltProgram(std::string_view name) {
  std::string file(name);
#ifdef _WIN32
  file += ".exe";
#endif
  return std::filesystem::path(PARVEX_BIN_DIR) / file;
}

struct Outcome {
  int status = -1;  // exit status, or 128 + signal
  std::string out;
  std::string err;
};

// Limits of the child process; 0 leaves a limit as it is. Windows has no
// such limits: tests that need them run on Linux only.
struct ProcessLimits {
  std::uint64_t cpuSeconds = 0;
  std::uint64_t fileBytes = 0;
};

#ifdef _WIN32

// One argument as the C runtime (and Wine) split a command line.
inline std::wstring CommandLineArgument(const std::wstring& a) {
  if (!a.empty() && a.find_first_of(L" \t\n\v\"") == std::wstring::npos) return a;
  std::wstring r = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : a) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    r.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    r.push_back(c);
  }
  r.append(backslashes * 2, L'\\');
  r.push_back(L'"');
  return r;
}

// The Windows form of the class below: the child gets its command line in
// UTF-16 (arguments are narrow text as the programs take it, see
// platform::PathFromNarrow) and files as its standard output and error.
class ProgramRun {
 public:
  ProgramRun(const std::filesystem::path& program, const std::vector<std::string>& args,
             const std::filesystem::path& logs, int slot = 0, const ProcessLimits& = {})
      : out_(logs / ("out" + std::to_string(slot))), err_(logs / ("err" + std::to_string(slot))) {
    std::wstring commandLine = Quote(program.native());
    for (const std::string& a : args) commandLine += L" " + Quote(platform::PathFromNarrow(a).native());
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE out = CreateFileW(out_.c_str(), GENERIC_WRITE, share, &inherit, CREATE_ALWAYS, 0, nullptr);
    HANDLE err = CreateFileW(err_.c_str(), GENERIC_WRITE, share, &inherit, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                       nullptr, &startup, &info)) {
      CloseHandle(info.hThread);
      process_ = info.hProcess;
      pid_ = info.dwProcessId;
    }
    if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
    if (err != INVALID_HANDLE_VALUE) CloseHandle(err);
  }
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;
  ~ProgramRun() {
    if (process_ == nullptr) return;
    if (!waited_) {
      TerminateProcess(process_, 137);
      WaitForSingleObject(process_, INFINITE);
    }
    CloseHandle(process_);
  }

  std::int64_t Pid() const { return pid_; }

  // Ends the program at once, as a kill or a crash would.
  void Kill() {
    if (process_ != nullptr) TerminateProcess(process_, 137);
  }

  Outcome Wait() {
    Outcome o;
    waited_ = true;
    DWORD code = 0;
    if (process_ == nullptr || WaitForSingleObject(process_, INFINITE) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process_, &code))
      return o;
    o.status = static_cast<int>(code);
    o.out = TempFolder::Read(out_);
    o.err = TempFolder::Read(err_);
    return o;
  }

 private:
  static std::wstring Quote(const std::wstring& a) { return CommandLineArgument(a); }

  std::filesystem::path out_;
  std::filesystem::path err_;
  HANDLE process_ = nullptr;
  std::int64_t pid_ = -1;
  bool waited_ = false;
};

#else

class ProgramRun {
 public:
  // Starts `program` with `args`; standard output and error go to files in
  // `logs` named after `slot`. `environment` ("NAME=value") is added to the
  // child's environment, replacing variables of the same name.
  ProgramRun(const std::filesystem::path& program, const std::vector<std::string>& args,
             const std::filesystem::path& logs, int slot = 0, const ProcessLimits& limits = {},
             const std::vector<std::string>& environment = {})
      : out_(logs / ("out" + std::to_string(slot))), err_(logs / ("err" + std::to_string(slot))) {
    std::vector<std::string> argv = {program.string()};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> ptrs;
    for (auto& a : argv) ptrs.push_back(a.data());
    ptrs.push_back(nullptr);
    std::vector<std::string> env = environment;
    for (char** e = environ; *e != nullptr; ++e) {
      const std::string_view entry(*e);
      const std::string_view name = entry.substr(0, entry.find('=') + 1);
      if (std::none_of(environment.begin(), environment.end(),
                       [&](const std::string& given) { return given.starts_with(name); }))
        env.emplace_back(entry);
    }
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    const int out = open(out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int err = open(err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out, 1);
      dup2(err, 2);
      if (limits.cpuSeconds) {
        const rlimit cpu{limits.cpuSeconds, limits.cpuSeconds};
        setrlimit(RLIMIT_CPU, &cpu);
      }
      if (limits.fileBytes) {
        const rlimit size{limits.fileBytes, limits.fileBytes};
        setrlimit(RLIMIT_FSIZE, &size);
      }
      execve(ptrs[0], ptrs.data(), envp.data());
      _exit(127);
    }
    close(out);
    close(err);
  }
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;
  ~ProgramRun() {
    if (!waited_ && pid_ > 0) {
      kill(pid_, SIGKILL);
      Wait();
    }
  }

  pid_t Pid() const { return pid_; }
  // What the program has written to standard error so far.
  std::string ErrorsSoFar() const { return TempFolder::Read(err_); }

  // Ends the program at once, as a kill or a crash would.
  void Kill() {
    if (pid_ > 0) kill(pid_, SIGKILL);
  }

  Outcome Wait() {
    Outcome o;
    int status = 0;
    waited_ = true;
    if (pid_ <= 0 || waitpid(pid_, &status, 0) != pid_) return o;
    o.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    o.out = TempFolder::Read(out_);
    o.err = TempFolder::Read(err_);
    return o;
  }

 private:
  std::filesystem::path out_;
  std::filesystem::path err_;
  pid_t pid_ = -1;
  bool waited_ = false;
};

#endif

// The id of a process that has ended.
inline std::int64_t EndedProcessId() {
#ifdef _WIN32
  // This test program again, running no test, with nothing to print.
  wchar_t self[MAX_PATH];
  if (GetModuleFileNameW(nullptr, self, MAX_PATH) == 0) return -1;
  std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --gtest_filter=-*";
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                           OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = nul;
  PROCESS_INFORMATION info{};
  std::int64_t pid = -1;
  if (CreateProcessW(self, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
    WaitForSingleObject(info.hProcess, INFINITE);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    pid = info.dwProcessId;
  }
  if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
  return pid;
#else
  const pid_t pid = fork();
  if (pid == 0) _exit(0);
  waitpid(pid, nullptr, 0);
  return pid;
#endif
}

// A process that does nothing until the object goes away.
class IdleProcess {
 public:
#ifdef _WIN32
  IdleProcess() {
    // This test program again, held before its first instruction.
    wchar_t self[MAX_PATH];
    if (GetModuleFileNameW(nullptr, self, MAX_PATH) == 0) return;
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --gtest_filter=-*";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(self, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        nullptr, &startup, &info))
      return;
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    pid_ = info.dwProcessId;
  }
  ~IdleProcess() {
    if (process_ == nullptr) return;
    TerminateProcess(process_, 0);
    WaitForSingleObject(process_, INFINITE);
    CloseHandle(process_);
  }
#else
  IdleProcess() {
    pid_ = fork();
    if (pid_ == 0) {
      for (;;) pause();
    }
  }
  ~IdleProcess() {
    if (pid_ <= 0) return;
    kill(static_cast<pid_t>(pid_), SIGKILL);
    waitpid(static_cast<pid_t>(pid_), nullptr, 0);
  }
#endif
  IdleProcess(const IdleProcess&) = delete;
  IdleProcess& operator=(const IdleProcess&) = delete;

  std::int64_t Pid() const { return pid_; }

 private:
#ifdef _WIN32
  HANDLE process_ = nullptr;
#endif
  std::int64_t pid_ = -1;
};

// Waits (up to `limit`) until `folder` holds an entry whose name begins with
// `prefix`; true when one appeared.
inline bool AwaitEntry(const std::filesystem::path& folder, const std::string& prefix,
                       std::chrono::milliseconds limit = std::chrono::seconds(30)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec))
      if (platform::NarrowFromPath(e.path().filename()).starts_with(prefix)) return true;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return false;
}

// Names in `folder`, sorted.
inline std::vector<std::string> EntriesOf(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(folder, ec))
    names.push_back(platform::NarrowFromPath(e.path().filename()));
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace parvex::testing
