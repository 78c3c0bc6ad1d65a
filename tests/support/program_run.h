// Runs a built program as a child process, with its output in files and
// optionally under resource limits, for tests that check what a program
// does and leaves behind (several may run at once).
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "tests/support/temp_folder.h"

namespace parvex::testing {

struct Outcome {
  int status = -1;  // exit status, or 128 + signal
  std::string out;
  std::string err;
};

// Limits of the child process; 0 leaves a limit as it is.
struct ProcessLimits {
  rlim_t cpuSeconds = 0;
  rlim_t fileBytes = 0;
};

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

// Waits (up to `limit`) until `folder` holds an entry whose name begins with
// `prefix`; true when one appeared.
inline bool AwaitEntry(const std::filesystem::path& folder, const std::string& prefix,
                       std::chrono::milliseconds limit = std::chrono::seconds(30)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec))
      if (e.path().filename().string().starts_with(prefix)) return true;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return false;
}

// Names in `folder`, sorted.
inline std::vector<std::string> EntriesOf(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(folder, ec))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace parvex::testing
