#include "sim/synchost/arguments.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>

#include "sim/condmgr/registrations.h"
#include "sim/pdb/palm_database.h"
#include "sim/sync20/link_model.h"
#include "sim/sync20/operation_names.h"

namespace korvet::hotsync {
namespace {

constexpr std::array<std::string_view, 8> kSyncTypeNames = {"fast",    "slow",   "hh2pc",   "pc2hh",
                                                            "install", "backup", "nothing", "profile"};

// Positional words and "--name value" options of one command.
struct Words {
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;
};

std::optional<Words> SplitWords(const std::vector<std::string>& arguments, std::size_t from,
                                std::initializer_list<std::string_view> allowed, std::string* error) {
  Words words;
  for (std::size_t i = from; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    if (word.size() < 2 || word.compare(0, 2, "--") != 0) {
      words.positional.push_back(word);
      continue;
    }
    std::string name = word.substr(2);
    if (std::find(allowed.begin(), allowed.end(), name) == allowed.end()) {
      *error = "unknown option " + word;
      return std::nullopt;
    }
    if (i + 1 >= arguments.size()) {
      *error = "option " + word + " needs a value";
      return std::nullopt;
    }
    if (!words.options.emplace(name, arguments[++i]).second) {
      *error = "option " + word + " given twice";
      return std::nullopt;
    }
  }
  return words;
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

// A handheld database name: also the base of its .pdb file name.
bool ValidDatabaseName(const std::string& name) { return sim::HandheldFolder::IsStorableName(name); }

class Parser {
 public:
  explicit Parser(const std::vector<std::string>& arguments) : arguments_(arguments) {}

  ParsedArguments Run() {
    if (arguments_.empty()) return Fail("no command given (synchost --help lists them)");
    if (std::find_if(arguments_.begin(), arguments_.end(), [](const std::string& word) {
          return word == "--help" || word == "-h" || word == "/?";
        }) != arguments_.end())
      return Done(Command::kHelp);
    const std::string& verb = arguments_[0];
    if (verb == "help") return Done(Command::kHelp);
    if (verb == "sync") return Sync();
    if (verb == "register") return Register();
    if (verb == "unregister") return CreatorOnly(Command::kUnregister, {});
    if (verb == "conduits") return NoArguments(Command::kConduits, 1);
    if (verb == "configure") return CreatorOnly(Command::kConfigure, {"user"});
    if (verb == "configure-old") return CreatorOnly(Command::kConfigureOld, {"user"});
    if (verb == "handheld") return Handheld();
    return Fail("unknown command " + verb);
  }

 private:
  ParsedArguments Fail(const std::string& error) { return {std::nullopt, error}; }
  ParsedArguments Done(Command command) {
    line_.command = command;
    return {line_, {}};
  }

  bool Split(std::size_t from, std::initializer_list<std::string_view> allowed, std::size_t positionals,
             const char* what) {
    std::optional<Words> words = SplitWords(arguments_, from, allowed, &error_);
    if (!words) return false;
    if (words->positional.size() != positionals) {
      error_ = words->positional.size() < positionals ? std::string("missing ") + what
                                                      : "unexpected argument " + words->positional[positionals];
      return false;
    }
    words_ = std::move(*words);
    return true;
  }

  const std::string* Option(const char* name) const {
    auto found = words_.options.find(name);
    return found == words_.options.end() ? nullptr : &found->second;
  }

  bool TakeUser() {
    if (const std::string* user = Option("user")) {
      if (user->empty() || user->size() > 63 || !IsValidValue(*user) || user->find('\t') != std::string::npos) {
        error_ = "bad user name \"" + *user + "\": 1 to 63 bytes, no tab or line break";
        return false;
      }
      line_.user = *user;
    }
    return true;
  }

  bool TakeCreator(const std::string& creator) {
    if (!IsValidCreator(creator)) {
      error_ = "bad creator ID \"" + creator + "\": four printable characters";
      return false;
    }
    line_.creator = creator;
    return true;
  }

  // A registration text that fits its field of the sync properties record.
  bool TakeText(const char* name, std::size_t maxSize, bool required, std::string* target) {
    const std::string* value = Option(name);
    if (!value) {
      if (required) error_ = std::string("missing --") + name;
      return !required;
    }
    if (value->size() > maxSize || !IsValidValue(*value) || (required && value->empty())) {
      error_ = std::string("bad --") + name + " \"" + *value + "\": " + (required ? "1" : "0") + " to " +
               std::to_string(maxSize) + " bytes on one line";
      return false;
    }
    *target = *value;
    return true;
  }

  bool TakeFourChars(const char* name, std::string* target) {
    const std::string* value = Option(name);
    if (!value) return true;
    if (!IsValidCreator(*value)) {
      error_ = std::string("bad --") + name + " \"" + *value + "\": four printable characters";
      return false;
    }
    *target = *value;
    return true;
  }

  bool TakeDatabase(const std::string& name) {
    if (!ValidDatabaseName(name)) {
      error_ = "bad database name \"" + name + "\": 1 to 31 characters, none of \\/:*?\"<>|, not ending in a dot or blank";
      return false;
    }
    line_.database = name;
    return true;
  }

  ParsedArguments NoArguments(Command command, std::size_t from) {
    if (!Split(from, {}, 0, "")) return Fail(error_);
    return Done(command);
  }

  // --fail and --kill may be given many times and --calls takes no value: they are taken out before
  // the other options are split.
  bool TakeSyncMonitoring() {
    std::vector<std::string> rest{arguments_[0]};
    for (std::size_t i = 1; i < arguments_.size(); ++i) {
      if (arguments_[i] == "--calls") {
        line_.reportCalls = true;
      } else if (arguments_[i] == "--fail") {
        if (i + 1 >= arguments_.size()) {
          error_ = "option --fail needs a value";
          return false;
        }
        std::optional<InjectedFailure> failure = ParseInjectedFailure(arguments_[++i], &error_);
        if (!failure) return false;
        line_.failures.push_back(*failure);
      } else if (arguments_[i] == "--kill") {
        if (i + 1 >= arguments_.size()) {
          error_ = "option --kill needs a value";
          return false;
        }
        std::optional<InjectedKill> kill = ParseInjectedKill(arguments_[++i], &error_);
        if (!kill) return false;
        line_.kills.push_back(*kill);
      } else {
        rest.push_back(arguments_[i]);
      }
    }
    syncArguments_ = std::move(rest);
    return true;
  }

  ParsedArguments Sync() {
    if (!TakeSyncMonitoring()) return Fail(error_);
    std::optional<Words> words = SplitWords(syncArguments_, 1, {"type", "user", "link"}, &error_);
    if (!words) return Fail(error_);
    if (!words->positional.empty()) return Fail("unexpected argument " + words->positional[0]);
    words_ = std::move(*words);
    if (const std::string* link = Option("link")) {
      if (!sim::FindLinkModel(*link)) return Fail("bad --link \"" + *link + "\": usb or serial");
      line_.link = *link;
    }
    if (!TakeUser()) return Fail(error_);
    if (const std::string* type = Option("type")) {
      line_.syncType = SyncTypeFromName(*type);
      if (!line_.syncType)
        return Fail("bad --type \"" + *type + "\": fast, slow, hh2pc, pc2hh, install, backup, nothing or profile");
    }
    return Done(Command::kSync);
  }

  ParsedArguments Register() {
    if (!Split(1, {"remote", "file", "title", "priority", "directory"}, 2, "creator ID and library") ||
        !TakeCreator(words_.positional[0]))
      return Fail(error_);
    line_.library = words_.positional[1];
    if (line_.library.empty() || !IsValidValue(line_.library)) return Fail("bad library path");
    line_.title = line_.creator;
    if (!TakeText("remote", 31, true, &line_.remote) || !TakeText("file", 255, false, &line_.file) ||
        !TakeText("directory", 255, false, &line_.directory) || !TakeText("title", 255, false, &line_.title))
      return Fail(error_);
    if (const std::string* priority = Option("priority")) {
      std::int64_t value = 0;
      if (!ParseInteger(*priority, 0, INT32_MAX, &value)) return Fail("bad --priority \"" + *priority + "\"");
      line_.priority = static_cast<std::int32_t>(value);
    }
    return Done(Command::kRegister);
  }

  ParsedArguments CreatorOnly(Command command, std::initializer_list<std::string_view> allowed) {
    if (!Split(1, allowed, 1, "creator ID") || !TakeCreator(words_.positional[0]) || !TakeUser()) return Fail(error_);
    return Done(command);
  }

  ParsedArguments Handheld() {
    if (arguments_.size() < 2) return Fail("missing handheld command (list, dump, add, add-report or remove)");
    const std::string& verb = arguments_[1];
    if (verb == "list") return NoArguments(Command::kHandheldList, 2);
    if (verb == "dump") {
      if (!Split(2, {}, 1, "database name") || !TakeDatabase(words_.positional[0])) return Fail(error_);
      return Done(Command::kHandheldDump);
    }
    if (verb == "add") return HandheldAdd();
    if (verb == "add-report") return HandheldAddReport();
    if (verb == "remove") {
      if (!Split(2, {}, 2, "database name and record index") || !TakeDatabase(words_.positional[0]))
        return Fail(error_);
      std::int64_t index = 0;
      if (!ParseInteger(words_.positional[1], 0, 65535, &index))
        return Fail("bad record index \"" + words_.positional[1] + "\"");
      line_.index = static_cast<std::uint16_t>(index);
      return Done(Command::kHandheldRemove);
    }
    return Fail("unknown handheld command " + verb);
  }

  ParsedArguments HandheldAdd() {
    if (!Split(2, {"text", "file", "creator", "type"}, 1, "database name") || !TakeDatabase(words_.positional[0]) ||
        !TakeFourChars("creator", &line_.databaseCreator) || !TakeFourChars("type", &line_.databaseType))
      return Fail(error_);
    const std::string* text = Option("text");
    const std::string* file = Option("file");
    if ((text != nullptr) == (file != nullptr)) return Fail("handheld add needs either --text or --file");
    if (text) line_.text = *text;
    if (file) line_.textFile = *file;
    return Done(Command::kHandheldAdd);
  }

  ParsedArguments HandheldAddReport() {
    if (!Split(2, {"file", "stamp"}, 1, "report name")) return Fail(error_);
    const std::string& name = words_.positional[0];
    // "$", seven bytes and the name make the record's duplicate key, which holds 31 bytes.
    if (name.empty() || name.size() > 23 || !Printable(name) || name.find(',') != std::string::npos)
      return Fail("bad report name \"" + name + "\": 1 to 23 printable characters, no comma");
    line_.reportName = name;
    line_.database = kReportDatabase;
    const std::string* file = Option("file");
    if (!file) return Fail("handheld add-report needs --file");
    line_.textFile = *file;
    if (const std::string* stamp = Option("stamp")) {
      if (stamp->size() != 7 || !Printable(*stamp) || stamp->find(',') != std::string::npos)
        return Fail("bad --stamp \"" + *stamp + "\": seven printable characters, no comma");
      line_.reportStamp = *stamp;
    }
    return Done(Command::kHandheldAddReport);
  }

  const std::vector<std::string>& arguments_;
  std::vector<std::string> syncArguments_;
  CommandLine line_;
  Words words_;
  std::string error_;
};

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& arguments) { return Parser(arguments).Run(); }

std::optional<InjectedFailure> ParseInjectedFailure(std::string_view text, std::string* error) {
  const std::string quoted = "bad --fail \"" + std::string(text) + "\": ";
  const std::size_t first = text.find(':');
  const std::size_t second = first == std::string_view::npos ? first : text.find(':', first + 1);
  if (second == std::string_view::npos) {
    *error = quoted + "OPERATION:N:CODE expected";
    return std::nullopt;
  }
  InjectedFailure failure;
  failure.operation = std::string(text.substr(0, first));
  if (std::find(sim::kSyncOperationNames.begin(), sim::kSyncOperationNames.end(), failure.operation) ==
      sim::kSyncOperationNames.end()) {
    *error = quoted + "no Sync Manager operation is called " + failure.operation;
    return std::nullopt;
  }
  std::int64_t nth = 0;
  if (!ParseInteger(text.substr(first + 1, second - first - 1), 1, INT32_MAX, &nth)) {
    *error = quoted + "the call number is a decimal number from 1";
    return std::nullopt;
  }
  failure.nthCall = static_cast<long>(nth);
  // Status codes are 32-bit: hexadecimal covers all 32 bits, decimal the signed range.
  std::string_view code = text.substr(second + 1);
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
  failure.code = static_cast<long>(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
  return failure;
}

std::optional<InjectedKill> ParseInjectedKill(std::string_view text, std::string* error) {
  const std::string quoted = "bad --kill \"" + std::string(text) + "\": ";
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) {
    *error = quoted + "OPERATION:N expected";
    return std::nullopt;
  }
  InjectedKill kill;
  kill.operation = std::string(text.substr(0, colon));
  if (std::find(sim::kSyncOperationNames.begin(), sim::kSyncOperationNames.end(), kill.operation) ==
      sim::kSyncOperationNames.end()) {
    *error = quoted + "no Sync Manager operation is called " + kill.operation;
    return std::nullopt;
  }
  std::int64_t nth = 0;
  if (!ParseInteger(text.substr(colon + 1), 1, INT32_MAX, &nth)) {
    *error = quoted + "the call number is a decimal number from 1";
    return std::nullopt;
  }
  kill.nthCall = static_cast<long>(nth);
  return kill;
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

const char* UsageText() {
  return "usage: synchost COMMAND ...\n"
         "The stand-in HotSync Manager; its installation is the folder that holds synchost.exe.\n"
         "\n"
         "  sync [--type fast|slow|hh2pc|pc2hh|install|backup|nothing|profile] [--user NAME]\n"
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
         "  handheld add-report NAME --file FILE [--stamp SEVEN]\n"
         "      Stores a traverse report in KORVETDatabaseDB as the device application does.\n"
         "  handheld remove DBNAME INDEX\n"
         "\n"
         "The default user is \"HotSync User\". Exit codes: 0 done, 1 missing installation file, unloadable\n"
         "conduit or file error, 2 bad arguments, 3 a conduit answered with a non-zero result.\n";
}

}  // namespace korvet::hotsync
