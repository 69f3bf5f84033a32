#include "sim/synchost/console.h"

#include <cstdio>

namespace korvet::hotsync {

void PrepareConsole() {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  std::setvbuf(stderr, nullptr, _IONBF, 0);
}

void Say(const std::string& line) {
  std::fputs(line.c_str(), stdout);
  std::fputs("\n", stdout);
}

void Complain(const std::string& message) { std::fputs(("synchost: " + message + "\n").c_str(), stderr); }

int Fail(int exitCode, const std::string& message) {
  Complain(message);
  return exitCode;
}

}  // namespace korvet::hotsync
