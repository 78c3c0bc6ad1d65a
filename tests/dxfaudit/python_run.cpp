#include "python_run.h"

#include <chrono>
#include <cstdio>
#include <string_view>
#include <thread>

#ifdef _WIN32
#include <windows.h>

#include "common/platform/files.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_folder.h"
#else
#include <sys/wait.h>
#endif

namespace parvex::testing {

namespace {

constexpr const char* kPython = "/usr/bin/python3";

std::string ShellQuote(std::string_view s) {
  std::string out = "'";
  for (char c : s) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  return out + "'";
}

#ifdef _WIN32

// The Linux path of a file under Wine, empty when there is none.
std::string LinuxPath(const std::filesystem::path& p) {
  using UnixName = char*(CDECL*)(LPCWSTR);
  static const auto toUnix = reinterpret_cast<UnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (toUnix == nullptr) return {};
  std::error_code ec;
  const std::filesystem::path full = std::filesystem::absolute(p, ec);
  char* name = toUnix(full.c_str());
  if (name == nullptr) return {};
  std::string r(name);
  HeapFree(GetProcessHeap(), 0, name);
  return r;
}

PythonRun Run(const std::string& script, const std::vector<std::filesystem::path>& files,
              const std::vector<std::string>& options) {
  PythonRun r;
  TempFolder work;
  const std::string linuxWork = LinuxPath(work.Path());
  if (linuxWork.empty()) {
    r.failure = "the Python checks need Linux's python3, reachable only under Wine";
    return r;
  }
  std::string shell = std::string(kPython) + " " + ShellQuote(script);
  for (const auto& o : options) shell += " " + ShellQuote(o);
  for (const auto& f : files) {
    const std::string linuxName = LinuxPath(f);
    if (linuxName.empty()) {
      r.failure = "no Linux path for " + platform::NarrowFromPath(f);
      return r;
    }
    shell += " " + ShellQuote(linuxName);
  }
  const std::string status = linuxWork + "/status";
  shell += " >" + ShellQuote(linuxWork + "/output") + " 2>&1; echo $? >" + ShellQuote(status + ".part") +
           "; mv " + ShellQuote(status + ".part") + " " + ShellQuote(status);
  std::wstring command = L"/bin/sh -c " + CommandLineArgument(platform::PathFromNarrow(shell).native());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info)) {
    r.failure = "cannot start /bin/sh";
    return r;
  }
  if (info.hThread != nullptr) CloseHandle(info.hThread);
  if (info.hProcess != nullptr) CloseHandle(info.hProcess);
  const auto limit = std::chrono::steady_clock::now() + std::chrono::minutes(10);
  std::error_code ec;
  while (!std::filesystem::exists(work / "status", ec)) {
    if (std::chrono::steady_clock::now() > limit) {
      r.failure = "python3 did not finish within 10 minutes";
      return r;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  r.status = std::atoi(TempFolder::Read(work / "status").c_str());
  r.output = TempFolder::Read(work / "output");
  return r;
}

#else

PythonRun Run(const std::string& script, const std::vector<std::filesystem::path>& files,
              const std::vector<std::string>& options) {
  PythonRun r;
  std::string cmd = std::string(kPython) + " " + ShellQuote(script);
  for (const auto& o : options) cmd += " " + ShellQuote(o);
  for (const auto& f : files) cmd += " " + ShellQuote(f.string());
  cmd += " 2>&1";
  FILE* pipe = popen(cmd.c_str(), "r");
  if (pipe == nullptr) {
    r.failure = std::string("cannot start ") + kPython;
    return r;
  }
  char buf[65536];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) r.output.append(buf, n);
  const int status = pclose(pipe);
  if (status == -1 || !WIFEXITED(status)) {
    r.failure = "python3 ended abnormally (status " + std::to_string(status) + ")";
    return r;
  }
  r.status = WEXITSTATUS(status);
  return r;
}

#endif

}  // namespace

PythonRun RunPythonScript(const std::string& script, const std::vector<std::filesystem::path>& files,
                          const std::vector<std::string>& options) {
  return Run(script, files, options);
}

}  // namespace parvex::testing
