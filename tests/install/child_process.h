// A program that a test starts, in a folder and with a search path of its own, so that it finds
// exactly the libraries the test put there. Ended by force if it still runs when the object goes.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace korvet::testing {

struct StartOptions {
  std::string folder{};      // the program's current folder; empty: the test's
  std::string searchPath{};  // PATH as the program sees it; empty: the test's own environment
  std::string outputFile{};  // standard output and error go into this file; empty: the test's
};

class ChildProcess {
 public:
  ~ChildProcess();
  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&&) = delete;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Nothing when the program cannot be started.
  static std::optional<ChildProcess> Start(const std::string& commandLine, const StartOptions& options);

  DWORD Id() const { return id_; }
  bool HasEnded() const;
  // The exit code once the program has ended within the limit; nothing when it still runs.
  std::optional<DWORD> Wait(DWORD timeoutMs) const;

 private:
  ChildProcess() = default;
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

// Runs the program to its end (at most `timeoutMs`) and returns its exit code and what it wrote;
// exit code nothing when it did not end in time.
struct ProgramOutput {
  std::optional<DWORD> exitCode;
  std::string output;
};
ProgramOutput RunProgram(const std::string& commandLine, const StartOptions& options, DWORD timeoutMs);

// The folder of the running test program, without a trailing backslash.
std::string ThisProgramFolder();

}  // namespace korvet::testing
