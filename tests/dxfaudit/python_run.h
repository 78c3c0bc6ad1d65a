// Runs a Python script of the test suite with Linux's /usr/bin/python3 (the
// one that has ezdxf) on files and returns what it printed. The tests of
// the Windows build run under Wine, which starts Linux programs but cannot
// wait for them: there the script runs through /bin/sh, which leaves its
// output and exit status in files that the test waits for, and the files'
// Windows paths are handed over as the Linux paths Wine gives them.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace parvex::testing {

struct PythonRun {
  std::string failure;  // empty when the script ran to its end
  int status = -1;      // its exit status
  std::string output;   // standard output and error together
};

// `options` go before the files.
PythonRun RunPythonScript(const std::string& script, const std::vector<std::filesystem::path>& files,
                          const std::vector<std::string>& options = {});

}  // namespace parvex::testing
