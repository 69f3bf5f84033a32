// synchost: the stand-in HotSync Manager of the test bench (usage in arguments.cpp).
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "sim/synchost/arguments.h"
#include "sim/synchost/commands.h"
#include "sim/synchost/console.h"
#include "sim/synchost/installation.h"

using namespace korvet::hotsync;

// The parser and the commands report their own failures; anything that still throws (no memory left)
// ends synchost with a message rather than an abort.
int main(int argc, char** argv) try {
  PrepareConsole();
  std::vector<std::string> arguments(argv + 1, argv + argc);
  ParsedArguments parsed = ParseArguments(arguments);
  if (!parsed.command) return Fail(kExitBadArguments, parsed.error);
  const CommandLine& line = *parsed.command;
  Installation installation = Installation::OfThisProgram();
  switch (line.command) {
    case Command::kHelp:
      std::fputs(UsageText().c_str(), stdout);
      return kExitOk;
    case Command::kSync:
      return RunSync(installation, line);
    case Command::kConfigure:
      return RunConfigure(installation, line);
    case Command::kConfigureOld:
      return RunConfigureOld(installation, line);
    case Command::kRegister:
      return RunRegister(installation, line);
    case Command::kUnregister:
      return RunUnregister(installation, line);
    case Command::kConduits:
      return RunConduits(installation);
    default:
      return RunHandheld(installation, line);
  }
} catch (const std::exception& error) {
  return Fail(kExitFailure, error.what());
}
