// Plays the user of a program that asks one question and then reports in message boxes (the
// installer and the remover): presses a button of the question dialog and answers every message
// box, recording what was asked and said. Only windows of that program are touched, so tests that
// run at the same time on the same display do not disturb each other.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/robot/robot.h"
#include "tests/support/test_process.h"

namespace korvet::testing {

struct AnsweredRun {
  std::string failure;                       // empty when the program ran to its end as a user would see it
  std::string question;                      // the static text of the question dialog
  std::string yesButton, noButton;           // texts of its buttons 1 and 2
  std::vector<robot::SeenMessage> messages;  // every message box, in order
  std::optional<DWORD> exitCode;
};

// Starts the program, waits for its dialog with the caption `question`, presses button `button`,
// then answers each message box until the program ends. Every wait has a time limit; a program
// that does not end in time is ended and the run says so in `failure`.
AnsweredRun RunAnswering(const std::string& program, const std::string& question, int button,
                         const StartOptions& options);

std::string Describe(const std::vector<robot::SeenMessage>& messages);

}  // namespace korvet::testing
