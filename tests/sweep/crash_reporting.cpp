#include "tests/sweep/crash_reporting.h"

#include <windows.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>

namespace korvet::sweep {
namespace {

// Raised by the stack protector where it fails fast instead of trapping.
constexpr DWORD kStackBufferOverrun = 0xC0000409;

std::string g_currentCase = "(no case yet)";

// An address as module+offset, for addr2line on the module's file.
std::string Where(const void* address) {
  HMODULE module = nullptr;
  char name[MAX_PATH] = "?";
  if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         static_cast<const char*>(address), &module))
    GetModuleFileNameA(module, name, sizeof name);
  const char* base = std::strrchr(name, '\\');
  char where[MAX_PATH + 32];
  std::snprintf(
      where, sizeof where, "%s+0x%llx", base ? base + 1 : name,
      static_cast<unsigned long long>(static_cast<const char*>(address) - reinterpret_cast<const char*>(module)));
  return where;
}

// The calling frames.
void PrintStack() {
  void* frames[32];
  const USHORT count = RtlCaptureStackBackTrace(2, 32, frames, nullptr);
  for (USHORT i = 0; i < count; ++i) std::fprintf(stdout, "  at %s\n", Where(frames[i]).c_str());
}

LONG WINAPI OnCrash(EXCEPTION_POINTERS* exception) {
  const DWORD code = exception->ExceptionRecord->ExceptionCode;
  char what[MAX_PATH + 128];
  // The checked build's undefined-behaviour checks, and its stack and fortified-copy checks, end in an
  // illegal instruction.
  if (code == EXCEPTION_ILLEGAL_INSTRUCTION)
    std::snprintf(what, sizeof what, "TRAP (illegal instruction at %s: a check of the checked build fired)",
                  Where(exception->ExceptionRecord->ExceptionAddress).c_str());
  else if (code == kStackBufferOverrun)
    std::snprintf(what, sizeof what, "TRAP (exception 0x%08lx: the stack protector found an overrun)",
                  static_cast<unsigned long>(code));
  else
    std::snprintf(what, sizeof what, "CRASH (exception 0x%08lx)", static_cast<unsigned long>(code));
  Die(what, code == EXCEPTION_ILLEGAL_INSTRUCTION || code == kStackBufferOverrun ? kExitTrap : kExitCrash);
}

}  // namespace

void SetCurrentCase(const std::string& description) { g_currentCase = description; }

void Die(const char* what, int code) {
  std::fprintf(stderr, "%s during %s\n", what, g_currentCase.c_str());
  std::fprintf(stdout, "%s during %s\n", what, g_currentCase.c_str());
  PrintStack();
  std::fflush(stdout);
  std::fflush(stderr);
  // No library detach handlers either.
  TerminateProcess(GetCurrentProcess(), code);
  for (;;) Sleep(INFINITE);
}

void InstallCrashReporting() {
  SetUnhandledExceptionFilter(OnCrash);
  std::set_terminate([] { Die("CRASH (std::terminate)", kExitCrash); });
#ifdef _GLIBCXX_ASSERTIONS
  // The checked build: a failed library assertion or stack check aborts.
  std::signal(SIGABRT, [](int) { Die("TRAP (abort: a library assertion or stack check failed)", kExitTrap); });
#else
  std::signal(SIGABRT, [](int) { Die("CRASH (abort)", kExitCrash); });
#endif
}

}  // namespace korvet::sweep
