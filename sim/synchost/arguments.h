// synchost's command line: which command, with its checked values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/sync20/sync20_control.h"

namespace korvet::hotsync {

// Exit codes of synchost.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // a missing installation file, an unloadable conduit, a file error
inline constexpr int kExitBadArguments = 2;
inline constexpr int kExitConduitFailed = 3;  // a conduit answered with a non-zero result

inline constexpr const char* kDefaultUser = "HotSync User";
inline constexpr const char* kReportDatabase = "KORVETDatabaseDB";

enum class Command {
  kHelp,
  kSync,
  kRegister,
  kUnregister,
  kConduits,
  kConfigure,
  kConfigureOld,
  kHandheldList,
  kHandheldDump,
  kHandheldAdd,
  kHandheldAddReport,
  kHandheldRemove,
  kHandheldDelete,   // as the user deletes a record on the device
  kHandheldArchive,  // deleted on the device, a copy kept for the desktop
};

// sync --fail OPERATION:N:CODE: the N-th call of the Sync Manager operation fails with CODE.
// sync --kill OPERATION:N: the host ends abruptly at the N-th call of the Sync Manager operation.
struct InjectedFault {
  SimFaultKind kind = kSimFaultFail;
  std::string operation;
  long nthCall = 0;
  long code = 0;  // unused by a kill
};

struct CommandLine {
  Command command = Command::kHelp;
  std::optional<std::int32_t> syncType;  // sync --type; none: the remembered action
  std::string user = kDefaultUser;
  std::vector<InjectedFault> faults;  // sync --fail, then sync --kill, each in the order given
  bool reportCalls = false;           // sync --calls
  std::string link;                   // sync --link: "usb" or "serial"; empty: none
  std::string creator;                // register, unregister, configure
  std::string library;                // register: as given, made a full path later
  std::string remote;
  std::string file;
  std::string title;
  std::string directory;
  std::int32_t priority = 2;
  std::string database;                  // handheld dump, add, remove (add-report: kReportDatabase)
  std::optional<std::string> text;       // handheld add --text
  std::optional<std::string> textFile;   // handheld add --file, add-report --file
  std::string databaseCreator = "KRVT";  // a database that add creates
  std::string databaseType = "DATA";
  std::string reportName;
  std::string reportStamp = "0000001";  // the seven bytes after "$"
  bool privateRecord = false;           // add-report --private
  std::uint16_t index = 0;              // remove, delete, archive
};

struct ParsedArguments {
  std::optional<CommandLine> command;  // nothing: error says why
  std::string error;
};

// The arguments after the program name.
ParsedArguments ParseArguments(const std::vector<std::string>& arguments);
const std::string& UsageText();

// The option that plants a fault of this kind ("--fail").
const char* FaultOption(SimFaultKind kind);
// The option's value: "OPERATION:N", then ":CODE" for a failure: a Sync Manager operation, a call
// number from 1 and a non-zero 32-bit status (decimal, or hexadecimal after 0x); nothing when the text
// is not one, *error says why.
std::optional<InjectedFault> ParseInjectedFault(SimFaultKind kind, std::string_view text, std::string* error);

// Sync type names of --type ("fast" 0 ... "profile" 7).
std::optional<std::int32_t> SyncTypeFromName(std::string_view name);
// The name of a sync type, or nothing outside 0 to 7.
std::optional<std::string_view> SyncTypeName(std::int32_t type);

}  // namespace korvet::hotsync
