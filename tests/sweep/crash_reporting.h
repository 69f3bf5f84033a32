// The sweep process's last-chance handlers: a crash, a trap of the checked build or a hang ends the
// process with the case it belongs to and the calling frames, and with an exit code of its own.
#pragma once

#include <string>

namespace korvet::sweep {

// Exit codes of a sweep program that did not finish.
inline constexpr int kExitCrash = 4;
inline constexpr int kExitHang = 5;
inline constexpr int kExitTrap = 6;  // a check of the checked build fired

// The case a crash, trap or hang belongs to, printed by the handlers.
void SetCurrentCase(const std::string& description);
void InstallCrashReporting();

// Prints what happened during the current case and the calling frames, then ends the process at
// once with the code: nothing of the broken session may run on.
[[noreturn]] void Die(const char* what, int code);

}  // namespace korvet::sweep
