// Runs a program that asks one question, presses a button of it and answers every message box it
// shows, printing what was asked and said. The demo installs Korvet with it as a user would.
//   run_answering PROGRAM CAPTION BUTTON [SEARCH_PATH]
// BUTTON is 1 ("Yes") or 2 ("No"); SEARCH_PATH becomes the program's PATH. Exits with the
// program's exit code, or 124 when the program did not behave as expected in time.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/install/answered_run.h"

int main(int argc, char** argv) {
  if (argc < 4 || argc > 5) {
    std::fprintf(stderr, "usage: run_answering PROGRAM CAPTION BUTTON [SEARCH_PATH]\n");
    return 2;
  }
  korvet::testing::StartOptions options;
  if (argc == 5) options.searchPath = argv[4];
  korvet::testing::AnsweredRun run = korvet::testing::RunAnswering(argv[1], argv[2], std::atoi(argv[3]), options);
  if (!run.question.empty())
    std::printf("[%s] %s -> %s\n", argv[2], run.question.c_str(),
                std::atoi(argv[3]) == 1 ? run.yesButton.c_str() : run.noButton.c_str());
  for (const korvet::robot::SeenMessage& message : run.messages)
    std::printf("[%s] %s -> OK\n", message.caption.c_str(), message.text.c_str());
  if (!run.failure.empty()) {
    std::fprintf(stderr, "run_answering: %s\n", run.failure.c_str());
    return 124;
  }
  return static_cast<int>(*run.exitCode);
}
