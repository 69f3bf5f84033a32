// synchost handheld ...: the emulated handheld's .pdb files, read and changed directly, as the device
// and its applications would change them between two HotSyncs.
#include <cstdio>
#include <ctime>

#include "sim/pdb/palm_database.h"
#include "sim/support/sim_files.h"
#include "sim/synchost/commands.h"
#include "sim/synchost/console.h"
#include "sim/synchost/record_escape.h"
#include "sim/synchost/sync_properties_builder.h"

namespace korvet::hotsync {
namespace {

using sim::HandheldFolder;
using sim::PalmDatabase;
using sim::PalmRecord;

// Seconds from 1904-01-01, the handheld's clock.
std::uint32_t HandheldNow() { return static_cast<std::uint32_t>(std::time(nullptr) + 2082844800LL); }

std::string Summary(const PalmDatabase& database) {
  std::size_t count = database.records.size();
  return database.name + ": " + std::to_string(count) + (count == 1 ? " record" : " records") + ", type " +
         FourCharText(database.type) + ", creator " + FourCharText(database.creator) +
         (database.IsResource() ? ", resource database" : "");
}

std::string RecordLine(std::size_t index, const PalmRecord& record, bool resource) {
  std::string line = std::to_string(index);
  if (resource) {
    line += " resource " + FourCharText(record.resourceType) + " " + std::to_string(record.resourceId);
  } else {
    char attributes[8];
    std::snprintf(attributes, sizeof attributes, "0x%02X", static_cast<unsigned>(record.attributes));
    line += " id " + std::to_string(record.id) + " attributes " + attributes + " category " +
            std::to_string(record.category);
  }
  line += " size " + std::to_string(record.data.size()) + ": ";
  return line + EscapeBytes(std::string_view(reinterpret_cast<const char*>(record.data.data()), record.data.size()));
}

int List(const HandheldFolder& handheld) {
  std::vector<std::string> names = handheld.List();
  if (names.empty()) Say("No databases on the handheld.");
  int exitCode = kExitOk;
  for (const std::string& name : names) {
    std::string error;
    std::optional<PalmDatabase> database = handheld.Load(name, &error);
    if (database)
      Say(Summary(*database));
    else
      exitCode = Fail(kExitFailure, "cannot read " + handheld.PathOf(name) + ": " + error);
  }
  return exitCode;
}

int Dump(const HandheldFolder& handheld, const CommandLine& line) {
  if (!handheld.Exists(line.database)) return Fail(kExitFailure, "no database " + line.database + " on the handheld");
  std::string error;
  std::optional<PalmDatabase> database = handheld.Load(line.database, &error);
  if (!database) return Fail(kExitFailure, "cannot read " + handheld.PathOf(line.database) + ": " + error);
  Say(Summary(*database));
  for (std::size_t i = 0; i < database->records.size(); ++i)
    Say(RecordLine(i, database->records[i], database->IsResource()));
  return kExitOk;
}

// The database to add to, created empty (type and creator from the command line) when missing.
std::optional<PalmDatabase> OpenForAdding(const HandheldFolder& handheld, const CommandLine& line, int* exitCode) {
  std::string error;
  if (!handheld.Exists(line.database)) {
    PalmDatabase database;
    database.name = line.database;
    database.type = FourCharValue(line.databaseType);
    database.creator = FourCharValue(line.databaseCreator);
    database.creationDate = HandheldNow();
    Say("Created " + line.database + ", type " + line.databaseType + ", creator " + line.databaseCreator);
    return database;
  }
  std::optional<PalmDatabase> database = handheld.Load(line.database, &error);
  if (!database) {
    *exitCode = Fail(kExitFailure, "cannot read " + handheld.PathOf(line.database) + ": " + error);
    return std::nullopt;
  }
  if (database->IsResource()) {
    *exitCode = Fail(kExitFailure, line.database + " is a resource database");
    return std::nullopt;
  }
  return database;
}

int AddRecord(const HandheldFolder& handheld, const CommandLine& line, const std::string& data,
              std::uint8_t attributes = sim::kRecModified) {
  int exitCode = kExitOk;
  std::optional<PalmDatabase> database = OpenForAdding(handheld, line, &exitCode);
  if (!database) return exitCode;
  PalmRecord record;
  record.id = database->NewUniqueId();
  record.attributes = attributes;
  record.data.assign(data.begin(), data.end());
  database->records.push_back(record);
  database->modificationDate = HandheldNow();
  ++database->modificationNumber;
  std::string error;
  if (!handheld.Save(*database, &error)) return Fail(kExitFailure, "cannot write " + line.database + ": " + error);
  Say("Added record " + std::to_string(database->records.size() - 1) + " (id " + std::to_string(record.id) + ") to " +
      line.database);
  return kExitOk;
}

std::optional<std::string> ReadInput(const std::string& given, int* exitCode) {
  std::string path = FullWindowsPath(given), contents, error;
  bool missing = false;
  if (!sim::ReadTextFile(path, &contents, &missing, &error)) {
    *exitCode = Fail(kExitFailure, error);
    return std::nullopt;
  }
  return contents;
}

int Add(const HandheldFolder& handheld, const CommandLine& line) {
  if (line.text) return AddRecord(handheld, line, *line.text);
  int exitCode = kExitOk;
  std::optional<std::string> data = ReadInput(*line.textFile, &exitCode);
  return data ? AddRecord(handheld, line, *data) : exitCode;
}

// As the device application stores a traverse report: "$", seven bytes, the name, a comma, the text.
int AddReport(const HandheldFolder& handheld, const CommandLine& line) {
  int exitCode = kExitOk;
  std::optional<std::string> text = ReadInput(*line.textFile, &exitCode);
  if (!text) return exitCode;
  const std::uint8_t attributes = sim::kRecModified | (line.privateRecord ? sim::kRecPrivate : 0);
  return AddRecord(handheld, line, "$" + line.reportStamp + line.reportName + "," + *text, attributes);
}

// Loads the database and checks the record index of remove, delete and archive.
std::optional<PalmDatabase> LoadForChange(const HandheldFolder& handheld, const CommandLine& line, int* exitCode) {
  if (!handheld.Exists(line.database)) {
    *exitCode = Fail(kExitFailure, "no database " + line.database + " on the handheld");
    return std::nullopt;
  }
  std::string error;
  std::optional<PalmDatabase> database = handheld.Load(line.database, &error);
  if (!database) {
    *exitCode = Fail(kExitFailure, "cannot read " + handheld.PathOf(line.database) + ": " + error);
  } else if (line.index >= database->records.size()) {
    *exitCode = Fail(kExitBadArguments, line.database + " has no record " + std::to_string(line.index) + " (it holds " +
                                            std::to_string(database->records.size()) + ")");
    database.reset();
  }
  return database;
}

// Removes the record outright, or marks it as the device does when the user deletes it: deleted and
// changed, its category and (unless archived) its data given up.
int Change(const HandheldFolder& handheld, const CommandLine& line) {
  int exitCode = kExitOk;
  std::optional<PalmDatabase> database = LoadForChange(handheld, line, &exitCode);
  if (!database) return exitCode;
  PalmRecord& record = database->records[line.index];
  const std::uint32_t id = record.id;
  std::string done;
  if (line.command == Command::kHandheldRemove) {
    database->records.erase(database->records.begin() + line.index);
    done = "Removed";
  } else {
    const bool archive = line.command == Command::kHandheldArchive;
    record.attributes = static_cast<std::uint8_t>((record.attributes & sim::kRecPrivate) | sim::kRecDeleted |
                                                  sim::kRecModified | (archive ? sim::kRecArchived : 0));
    record.category = 0;
    if (!archive) record.data.clear();
    done = archive ? "Archived" : "Deleted";
  }
  database->modificationDate = HandheldNow();
  ++database->modificationNumber;
  std::string error;
  if (!handheld.Save(*database, &error)) return Fail(kExitFailure, "cannot write " + line.database + ": " + error);
  Say(done + " record " + std::to_string(line.index) + " (id " + std::to_string(id) + ") " +
      (line.command == Command::kHandheldRemove ? "from " : "in ") + line.database);
  return kExitOk;
}

}  // namespace

int RunHandheld(const Installation& installation, const CommandLine& line) {
  if (!sim::FolderExists(installation.HandheldFolder()))
    return Fail(kExitFailure, "missing installation folder " + installation.HandheldFolder());
  HandheldFolder handheld(installation.HandheldFolder());
  switch (line.command) {
    case Command::kHandheldList:
      return List(handheld);
    case Command::kHandheldDump:
      return Dump(handheld, line);
    case Command::kHandheldAdd:
      return Add(handheld, line);
    case Command::kHandheldAddReport:
      return AddReport(handheld, line);
    case Command::kHandheldRemove:
    case Command::kHandheldDelete:
    case Command::kHandheldArchive:
      return Change(handheld, line);
    default:
      return Fail(kExitBadArguments, "not a handheld command");
  }
}

}  // namespace korvet::hotsync
