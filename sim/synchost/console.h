// synchost's messages: report lines on standard output, one "synchost: ..." line on standard error for
// each failure.
#pragma once

#include <string>

namespace korvet::hotsync {

// Standard output unbuffered, so that synchost's lines and the log lines that hslog20.dll writes
// straight to the handle come out in the order they were made.
void PrepareConsole();
void Say(const std::string& line);
// Prints the failure and returns the exit code, for `return Fail(kExitFailure, "...")`.
int Fail(int exitCode, const std::string& message);
// Prints the failure without ending anything.
void Complain(const std::string& message);

}  // namespace korvet::hotsync
