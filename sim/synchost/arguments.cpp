#include "sim/synchost/arguments.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <charconv>

#include "sim/condmgr/registrations.h"
#include "sim/pdb/palm_database.h"
#include "sim/sync20/link_model.h"
#include "sim/sync20/operation_names.h"

namespace korvet::hotsync {
namespace {

constexpr std::array<std::string_view, 8> kSyncTypeNames = {"fast",    "slow",   "hh2pc",   "pc2hh",
                                                            "install", "backup", "nothing", "profile"};

// The options that plant faults, by kind; only a failure takes a status code.
struct FaultOptionRow {
  SimFaultKind kind;
  const char* option;
  bool takesCode;
};
constexpr std::array<FaultOptionRow, 2> kFaultOptions = {
    {{kSimFaultFail, "--fail", true}, {kSimFaultKill, "--kill", false}}};

const FaultOptionRow& FaultOptionOf(SimFaultKind kind) {
  return *std::find_if(kFaultOptions.begin(), kFaultOptions.end(),
                       [&](const FaultOptionRow& row) { return row.kind == kind; });
}

// "fast, slow, ... or profile", or with one separator throughout ("fast|slow|...|profile").
std::string SyncTypeNameList(const char* separator = nullptr) {
  std::string list;
  for (std::size_t i = 0; i < kSyncTypeNames.size(); ++i) {
    if (i > 0) list += separator ? separator : i + 1 == kSyncTypeNames.size() ? " or " : ", ";
    list += kSyncTypeNames[i];
  }
  return list;
}

bool ParseInteger(std::string_view text, std::int64_t low, std::int64_t high, std::int64_t* value) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  auto [at, failure] = std::from_chars(text.data(), end, *value);
  return failure == std::errc() && at == end && *value >= low && *value <= high;
}

bool Printable(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

// The "OPERATION:N" that starts --fail and --kill (it holds a colon); *error starts with quoted.
bool ParseOperationCall(std::string_view text, const std::string& quoted, std::string* operation, long* nthCall,
                        std::string* error) {
  const std::size_t colon = text.find(':');
  *operation = std::string(text.substr(0, colon));
  std::int64_t nth = 0;
  if (std::find(sim::kSyncOperationNames.begin(), sim::kSyncOperationNames.end(), *operation) ==
      sim::kSyncOperationNames.end()) {
    *error = quoted + "no Sync Manager operation is called " + *operation;
  } else if (!ParseInteger(text.substr(colon + 1), 1, INT32_MAX, &nth)) {
    *error = quoted + "the call number is a decimal number from 1";
  } else {
    *nthCall = static_cast<long>(nth);
    return true;
  }
  return false;
}

// The first error of a series of checks; each check gives an error or nothing.
std::string FirstError(std::initializer_list<std::string> errors) {
  for (const std::string& error : errors)
    if (!error.empty()) return error;
  return {};
}

// A registration text that fits its field of the sync properties record.
std::string CheckText(const char* name, const std::string& value, std::size_t minSize, std::size_t maxSize) {
  if (value.size() >= minSize && value.size() <= maxSize && IsValidValue(value)) return {};
  return std::string("bad --") + name + " \"" + value + "\": " + std::to_string(minSize) + " to " +
         std::to_string(maxSize) + " bytes on one line";
}

std::string CheckFourChars(const char* what, const std::string& value) {
  return IsValidCreator(value) ? "" : std::string(what) + " \"" + value + "\": four printable characters";
}

// CLI11 finds the command and puts each word in its place: only the command's own options, each once
// unless it repeats, its positionals, the required ones. What the values may be is checked after it.
class Parser {
 public:
  Parser() {
    // Extra words are kept rather than refused (CLI11's own message lists them backwards), so that
    // the error can name the first of them. One command a line, and one handheld command: a command's
    // name after that is a value or an extra word. A word that starts with "/" is a path, never an option.
    app_.allow_extras();
    app_.allow_windows_style_options(false);
    app_.require_subcommand(0, 1);
    Add(app_, "help", Command::kHelp);

    CLI::App& sync = Add(app_, "sync", Command::kSync);
    type_ = sync.add_option("--type", typeName_);
    sync.add_option("--user", line_.user);
    for (std::size_t i = 0; i < kFaultOptions.size(); ++i)
      sync.add_option(kFaultOptions[i].option, faultTexts_[i])->allow_extra_args(false);
    sync.add_flag("--calls", line_.reportCalls);
    link_ = sync.add_option("--link", line_.link);

    CLI::App& registration = Add(app_, "register", Command::kRegister);
    registration.add_option("CREATOR", line_.creator)->required();
    registration.add_option("LIBRARY", line_.library)->required();
    registration.add_option("--remote", line_.remote)->required();
    registration.add_option("--file", line_.file);
    registration.add_option("--directory", line_.directory);
    title_ = registration.add_option("--title", line_.title);
    registration.add_option("--priority", priority_);

    Add(app_, "unregister", Command::kUnregister).add_option("CREATOR", line_.creator)->required();
    Add(app_, "conduits", Command::kConduits);
    for (auto [name, command] :
         {std::pair{"configure", Command::kConfigure}, {"configure-old", Command::kConfigureOld}}) {
      CLI::App& configure = Add(app_, name, command);
      configure.add_option("CREATOR", line_.creator)->required();
      configure.add_option("--user", line_.user);
    }

    handheld_ = app_.add_subcommand("handheld");
    handheld_->require_subcommand(0, 1);
    Add(*handheld_, "list", Command::kHandheldList);
    Add(*handheld_, "dump", Command::kHandheldDump).add_option("DBNAME", line_.database)->required();
    CLI::App& add = Add(*handheld_, "add", Command::kHandheldAdd);
    add.add_option("DBNAME", line_.database)->required();
    add.add_option("--text", line_.text);
    add.add_option("--file", line_.textFile);
    add.add_option("--creator", line_.databaseCreator);
    add.add_option("--type", line_.databaseType);
    CLI::App& report = Add(*handheld_, "add-report", Command::kHandheldAddReport);
    report.add_option("NAME", line_.reportName)->required();
    report.add_option("--file", line_.textFile)->required();
    report.add_option("--stamp", line_.reportStamp);
    report.add_flag("--private", line_.privateRecord);
    for (auto [name, command] : {std::pair{"remove", Command::kHandheldRemove},
                                 {"delete", Command::kHandheldDelete},
                                 {"archive", Command::kHandheldArchive}}) {
      CLI::App& change = Add(*handheld_, name, command);
      change.add_option("DBNAME", line_.database)->required();
      change.add_option("INDEX", index_)->required();
    }
  }

  ParsedArguments Run(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return Fail("no command given (synchost --help lists them)");
    if (std::find(arguments.begin(), arguments.end(), "/?") != arguments.end()) return Done(Command::kHelp);
    try {
      std::vector<std::string> backwards(arguments.rbegin(), arguments.rend());  // CLI11 takes words from the back
      app_.parse(backwards);
    } catch (const CLI::CallForHelp&) {
      return Done(Command::kHelp);
    } catch (const CLI::Error& error) {
      return Fail(error.what());
    }
    if (std::string error = ExtraWord(app_, "unknown command "); !error.empty()) return Fail(error);
    if (std::string error = ExtraWord(*handheld_, "unknown handheld command "); !error.empty()) return Fail(error);
    for (auto [app, command] : commands_) {
      if (!app->parsed()) continue;
      if (command == Command::kHelp) return Done(command);  // whatever follows, as with --help
      std::string error = FirstError({ExtraWord(*app, "unexpected argument "), Check(command)});
      if (!error.empty()) return Fail(error);
      return Done(command);
    }
    return Fail("missing handheld command (list, dump, add, add-report, remove, delete or archive)");
  }

 private:
  CLI::App& Add(CLI::App& parent, const char* name, Command command) {
    CLI::App* app = parent.add_subcommand(name);
    commands_.emplace_back(app, command);
    return *app;
  }

  ParsedArguments Fail(const std::string& error) const { return {std::nullopt, error}; }
  ParsedArguments Done(Command command) {
    line_.command = command;
    return {line_, {}};
  }

  static std::string ExtraWord(const CLI::App& app, const char* what) {
    std::vector<std::string> extra = app.remaining();
    if (extra.empty()) return {};
    const std::string& word = extra.front();
    return (word.size() > 1 && word[0] == '-' ? "unknown option " : what) + word;
  }

  std::string Check(Command command) {
    switch (command) {
      case Command::kSync:
        return CheckSync();
      case Command::kRegister:
        return CheckRegister();
      case Command::kUnregister:
        return CheckFourChars("bad creator ID", line_.creator);
      case Command::kConfigure:
      case Command::kConfigureOld:
        return FirstError({CheckFourChars("bad creator ID", line_.creator), CheckUser()});
      case Command::kHandheldDump:
        return CheckDatabase();
      case Command::kHandheldAdd:
        return CheckAdd();
      case Command::kHandheldAddReport:
        return CheckReport();
      case Command::kHandheldRemove:
      case Command::kHandheldDelete:
      case Command::kHandheldArchive:
        return CheckRecordIndex();
      default:
        return {};
    }
  }

  std::string CheckUser() const {
    const std::string& user = line_.user;
    if (!user.empty() && user.size() <= 63 && IsValidValue(user) && user.find('\t') == std::string::npos) return {};
    return "bad user name \"" + user + "\": 1 to 63 bytes, no tab or line break";
  }

  std::string CheckSync() {
    std::string error;
    for (std::size_t i = 0; i < kFaultOptions.size(); ++i) {
      for (const std::string& text : faultTexts_[i]) {
        std::optional<InjectedFault> fault = ParseInjectedFault(kFaultOptions[i].kind, text, &error);
        if (!fault) return error;
        line_.faults.push_back(*fault);
      }
    }
    if (link_->count() && !sim::FindLinkModel(line_.link)) return "bad --link \"" + line_.link + "\": usb or serial";
    if (error = CheckUser(); !error.empty()) return error;
    if (type_->count()) line_.syncType = SyncTypeFromName(typeName_);
    if (type_->count() && !line_.syncType) return "bad --type \"" + typeName_ + "\": " + SyncTypeNameList();
    return {};
  }

  std::string CheckRegister() {
    if (!title_->count()) line_.title = line_.creator;
    std::int64_t priority = 0;
    std::string error =
        FirstError({CheckFourChars("bad creator ID", line_.creator),
                    line_.library.empty() || !IsValidValue(line_.library) ? "bad library path" : "",
                    CheckText("remote", line_.remote, 1, 31), CheckText("file", line_.file, 0, 255),
                    CheckText("directory", line_.directory, 0, 255), CheckText("title", line_.title, 0, 255),
                    ParseInteger(priority_, 0, INT32_MAX, &priority) ? "" : "bad --priority \"" + priority_ + "\""});
    line_.priority = static_cast<std::int32_t>(priority);
    return error;
  }

  // A handheld database name: also the base of its .pdb file name.
  std::string CheckDatabase() const {
    if (sim::HandheldFolder::IsStorableName(line_.database)) return {};
    return "bad database name \"" + line_.database +
           "\": 1 to 31 characters, none of \\/:*?\"<>|, not ending in a dot or blank";
  }

  std::string CheckAdd() const {
    return FirstError(
        {CheckDatabase(), CheckFourChars("bad --creator", line_.databaseCreator),
         CheckFourChars("bad --type", line_.databaseType),
         line_.text.has_value() == line_.textFile.has_value() ? "handheld add needs either --text or --file" : ""});
  }

  std::string CheckReport() {
    const std::string& name = line_.reportName;
    const std::string& stamp = line_.reportStamp;
    line_.database = kReportDatabase;
    // "$", seven bytes and the name make the record's duplicate key, which holds 31 bytes.
    if (name.empty() || name.size() > 23 || !Printable(name) || name.find(',') != std::string::npos)
      return "bad report name \"" + name + "\": 1 to 23 printable characters, no comma";
    if (stamp.size() != 7 || !Printable(stamp) || stamp.find(',') != std::string::npos)
      return "bad --stamp \"" + stamp + "\": seven printable characters, no comma";
    return {};
  }

  std::string CheckRecordIndex() {
    std::int64_t index = 0;
    const bool goodIndex = ParseInteger(index_, 0, 65535, &index);
    line_.index = static_cast<std::uint16_t>(index);
    return FirstError({CheckDatabase(), goodIndex ? "" : "bad record index \"" + index_ + "\""});
  }

  CLI::App app_{"", "synchost"};
  CLI::App* handheld_ = nullptr;
  std::vector<std::pair<CLI::App*, Command>> commands_;
  CommandLine line_;
  std::string typeName_;
  std::string priority_ = "2";
  std::string index_;
  std::array<std::vector<std::string>, kFaultOptions.size()> faultTexts_;
  CLI::Option* type_ = nullptr;
  CLI::Option* link_ = nullptr;
  CLI::Option* title_ = nullptr;
};

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& arguments) { return Parser().Run(arguments); }

const char* FaultOption(SimFaultKind kind) { return FaultOptionOf(kind).option; }

std::optional<InjectedFault> ParseInjectedFault(SimFaultKind kind, std::string_view text, std::string* error) {
  const FaultOptionRow& row = FaultOptionOf(kind);
  const std::string quoted = "bad " + std::string(row.option) + " \"" + std::string(text) + "\": ";
  // OPERATION:N, then :CODE for a failure.
  const std::size_t callColon = text.find(':');
  const std::size_t codeColon =
      row.takesCode && callColon != std::string_view::npos ? text.find(':', callColon + 1) : std::string_view::npos;
  if (callColon == std::string_view::npos || (row.takesCode && codeColon == std::string_view::npos)) {
    *error = quoted + (row.takesCode ? "OPERATION:N:CODE expected" : "OPERATION:N expected");
    return std::nullopt;
  }
  InjectedFault fault;
  fault.kind = kind;
  if (!ParseOperationCall(text.substr(0, codeColon), quoted, &fault.operation, &fault.nthCall, error))
    return std::nullopt;
  if (!row.takesCode) return fault;
  // Status codes are 32-bit: hexadecimal covers all 32 bits, decimal the signed range.
  std::string_view code = text.substr(codeColon + 1);
  std::int64_t value = 0;
  bool parsed = false;
  if (code.size() > 2 && code[0] == '0' && (code[1] == 'x' || code[1] == 'X')) {
    const char* end = code.data() + code.size();
    auto [at, failed] = std::from_chars(code.data() + 2, end, value, 16);
    parsed = failed == std::errc() && at == end && value >= 0 && value <= 0xFFFFFFFFll;
  } else {
    parsed = ParseInteger(code, INT32_MIN, INT32_MAX, &value);
  }
  if (!parsed || value == 0) {
    *error = quoted + "the code is a non-zero 32-bit status, decimal or 0x-hexadecimal";
    return std::nullopt;
  }
  fault.code = static_cast<long>(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
  return fault;
}

std::optional<std::int32_t> SyncTypeFromName(std::string_view name) {
  auto found = std::find(kSyncTypeNames.begin(), kSyncTypeNames.end(), name);
  if (found == kSyncTypeNames.end()) return std::nullopt;
  return static_cast<std::int32_t>(found - kSyncTypeNames.begin());
}

std::optional<std::string_view> SyncTypeName(std::int32_t type) {
  if (type < 0 || type >= static_cast<std::int32_t>(kSyncTypeNames.size())) return std::nullopt;
  return kSyncTypeNames[type];
}

const std::string& UsageText() {
  static const std::string text =
      "usage: synchost COMMAND ...\n"
      "The stand-in HotSync Manager; its installation is the folder that holds synchost.exe.\n"
      "\n"
      "  sync [--type " +
      SyncTypeNameList("|") +
      "] [--user NAME]\n"
      "       [--fail OPERATION:N:CODE]... [--kill OPERATION:N]... [--calls] [--link usb|serial]\n"
      "      Runs every registered conduit in priority order. Without --type each conduit gets the\n"
      "      action last chosen for the user with configure, else a fast sync.\n"
      "      --fail makes the N-th call (from 1) of that Sync Manager operation in this session fail\n"
      "      with CODE (decimal or 0x-hexadecimal, not 0) without any effect; it may be repeated.\n"
      "      --calls prints after the session one line \"calls OPERATION COUNT\" for every operation\n"
      "      that was called, then \"calls total COUNT\".\n"
      "      --kill ends synchost abruptly, as a crash would (exit code 86, nothing written back), at\n"
      "      the N-th call of that operation.\n"
      "      --link charges each Sync Manager call a round trip and each record byte its transfer time\n"
      "      over a USB or a 115,200 bps serial cradle and prints \"link MODEL SECONDS\" after the session.\n"
      "  configure CREATOR [--user NAME]\n"
      "      Asks the conduit for its settings and remembers the chosen action for the next sync.\n"
      "  configure-old CREATOR [--user NAME]\n"
      "      The same through ConfigureConduit, as older HotSync Managers ask; Cancel keeps the action.\n"
      "  register CREATOR LIBRARY --remote DBNAME [--file NAME] [--directory DIR] [--title TEXT]\n"
      "           [--priority N]\n"
      "      Registers a conduit through CondMgr.dll as an installer does (defaults: no file, no\n"
      "      directory, the creator ID as title, priority 2).\n"
      "  unregister CREATOR\n"
      "  conduits\n"
      "      Lists the registered conduits in priority order.\n"
      "  handheld list\n"
      "  handheld dump DBNAME\n"
      "  handheld add DBNAME --text TEXT|--file FILE [--creator CODE] [--type CODE]\n"
      "      Adds a modified record, creating the database when missing (default creator KRVT,\n"
      "      type DATA).\n"
      "  handheld add-report NAME --file FILE [--stamp SEVEN] [--private]\n"
      "      Stores a traverse report in KORVETDatabaseDB as the device application does (--private:\n"
      "      marked private).\n"
      "  handheld remove DBNAME INDEX\n"
      "      Erases the record outright, as if it had never been there.\n"
      "  handheld delete DBNAME INDEX\n"
      "      Deletes the record as the user does on the device: marked deleted, its data gone, until\n"
      "      the next HotSync cleans it up.\n"
      "  handheld archive DBNAME INDEX\n"
      "      The same, keeping a copy for the desktop: marked deleted and archived, its data kept.\n"
      "\n"
      "The default user is \"HotSync User\". Exit codes: 0 done, 1 missing installation file, unloadable\n"
      "conduit or file error, 2 bad arguments, 3 a conduit answered with a non-zero result.\n";
  return text;
}

}  // namespace korvet::hotsync
