// The UI robot from the command line, for scripts (the screenshots):
//   robot_cli wait CAPTION          waits for the dialog
//   robot_cli click CAPTION ID      presses a button of the dialog
//   robot_cli answer CAPTION        presses OK in a message box and prints its text
// Exit code 0 when done, 1 when the window did not come in time, 2 for bad arguments.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/robot/robot.h"

int main(int argc, char** argv) {
  using namespace korvet;
  if (argc < 3) {
    std::fprintf(stderr, "usage: robot_cli wait|click|answer CAPTION [ID]\n");
    return 2;
  }
  const std::string command = argv[1], caption = argv[2];
  if (command == "wait") return robot::WaitForDialog(caption) ? 0 : 1;
  if (command == "click" && argc == 4) {
    HWND dialog = robot::WaitForDialog(caption);
    if (!dialog) return 1;
    robot::Click(dialog, std::atoi(argv[3]));
    return 0;
  }
  if (command == "answer") {
    auto seen = robot::AnswerMessageBox(caption);
    if (!seen) return 1;
    std::printf("%s\n", seen->text.c_str());
    return 0;
  }
  std::fprintf(stderr, "usage: robot_cli wait|click|answer CAPTION [ID]\n");
  return 2;
}
