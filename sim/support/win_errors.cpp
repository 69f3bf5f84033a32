#include "sim/support/win_errors.h"

#include <optional>
#include <string_view>

namespace korvet::sim {
namespace {

// The system's message for the code as it comes, line break included; nothing when there is none.
std::optional<std::string> SystemMessage(DWORD code) {
  char* message = nullptr;
  const DWORD length =
      FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<char*>(&message), 0, nullptr);
  std::optional<std::string> text;
  if (length > 0 && message != nullptr) text.emplace(message, length);
  if (message != nullptr) LocalFree(message);
  return text;
}

std::string TrimEnd(std::string text, std::string_view characters) {
  while (!text.empty() && characters.find(text.back()) != std::string_view::npos) text.pop_back();
  return text;
}

}  // namespace

std::string DescribeWin32Error(DWORD code) {
  const std::string text = TrimEnd(SystemMessage(code).value_or(""), "\r\n ");
  return (text.empty() ? text : text + " ") + "(Windows error " + std::to_string(code) + ")";
}

std::string DescribeError(DWORD code) {
  return TrimEnd(SystemMessage(code).value_or("Error"), "\r\n .") + ". (" + std::to_string(code) + ")";
}

}  // namespace korvet::sim
