// The one way tests start a program: in a folder, with a search path and an output file of their
// own when asked, optionally in a job that takes along whatever the program starts. A program that
// still runs when the object goes is ended, so that a failed test leaves nothing behind.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "common/unique_handle.h"

namespace korvet::testing {

struct StartOptions {
  std::string folder{};      // the program's current folder; empty: the test's
  std::string searchPath{};  // PATH as the program sees it; empty: the test's own environment
  std::string outputFile{};  // standard output and error go into this file; empty: the test's
  bool ownJob = false;       // the program and what it starts are ended together
};

class TestProcess {
 public:
  // Nothing when the program cannot be started.
  static std::optional<TestProcess> Start(const std::string& commandLine, const StartOptions& options = {});

  TestProcess(TestProcess&&) = default;
  // Ends the program this object started before it takes the other one's.
  TestProcess& operator=(TestProcess&& other) noexcept;
  ~TestProcess() { End(); }

  DWORD Id() const { return id_; }
  bool Running() const;
  // The exit code once the program has ended within the limit; nothing when it still runs.
  std::optional<DWORD> Wait(DWORD timeoutMs = 60000) const;

 private:
  TestProcess() = default;
  void End();

  UniqueKernelHandle job_;
  UniqueKernelHandle process_;
  DWORD id_ = 0;
};

// Runs the program to its end (at most `timeoutMs`) and returns its exit code and what it wrote;
// exit code nothing when it did not end in time.
struct ProgramOutput {
  std::optional<DWORD> exitCode;
  std::string output;
};
ProgramOutput RunProgram(const std::string& commandLine, const StartOptions& options, DWORD timeoutMs);

}  // namespace korvet::testing
