// synchost's commands; each returns the program's exit code.
#pragma once

#include "sim/synchost/arguments.h"
#include "sim/synchost/installation.h"

namespace korvet::hotsync {

int RunSync(const Installation& installation, const CommandLine& line);
int RunConfigure(const Installation& installation, const CommandLine& line);
int RunConfigureOld(const Installation& installation, const CommandLine& line);
int RunRegister(const Installation& installation, const CommandLine& line);
int RunUnregister(const Installation& installation, const CommandLine& line);
int RunConduits(const Installation& installation);
int RunHandheld(const Installation& installation, const CommandLine& line);

}  // namespace korvet::hotsync
