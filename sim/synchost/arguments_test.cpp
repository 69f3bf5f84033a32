#include "sim/synchost/arguments.h"

#include <gtest/gtest.h>

namespace korvet::hotsync {
namespace {

ParsedArguments Parse(std::initializer_list<const char*> words) {
  return ParseArguments(std::vector<std::string>(words.begin(), words.end()));
}

CommandLine Parsed(std::initializer_list<const char*> words) {
  ParsedArguments parsed = Parse(words);
  EXPECT_TRUE(parsed.command) << parsed.error;
  return parsed.command.value_or(CommandLine{});
}

std::string ErrorOf(std::initializer_list<const char*> words) {
  ParsedArguments parsed = Parse(words);
  EXPECT_FALSE(parsed.command);
  return parsed.error;
}

TEST(Arguments, SyncTakesATypeByNameAndAUser) {
  CommandLine plain = Parsed({"sync"});
  EXPECT_EQ(plain.command, Command::kSync);
  EXPECT_FALSE(plain.syncType);
  EXPECT_EQ(plain.user, "HotSync User");
  const char* names[] = {"fast", "slow", "hh2pc", "pc2hh", "install", "backup", "nothing", "profile"};
  for (std::int32_t type = 0; type < 8; ++type) {
    CommandLine line = Parsed({"sync", "--type", names[type], "--user", "Ann Lee"});
    EXPECT_EQ(line.syncType, type);
    EXPECT_EQ(line.user, "Ann Lee");
    EXPECT_EQ(SyncTypeName(type), names[type]);
  }
  EXPECT_FALSE(SyncTypeName(8));
  EXPECT_FALSE(SyncTypeName(-1));
  EXPECT_NE(ErrorOf({"sync", "--type", "Fast"}).find("bad --type"), std::string::npos);
  // CLI11 words the missing value and the repeated option.
  EXPECT_NE(ErrorOf({"sync", "--type"}).find("--type: 1 required"), std::string::npos);
  EXPECT_NE(ErrorOf({"sync", "--type", "fast", "--type", "slow"}).find("--type: At Most 1"), std::string::npos);
  EXPECT_NE(ErrorOf({"sync", "now"}).find("unexpected argument now"), std::string::npos);
  EXPECT_NE(ErrorOf({"sync", "--user", ""}).find("bad user"), std::string::npos);
  EXPECT_NE(ErrorOf({"sync", "--user", "a\tb"}).find("bad user"), std::string::npos);
  EXPECT_NE(ErrorOf({"sync", "--user", std::string(64, 'u').c_str()}).find("bad user"), std::string::npos);
  EXPECT_TRUE(Parse({"sync", "--user", std::string(63, 'u').c_str()}).command);
}

TEST(Arguments, RegisterNeedsCreatorLibraryAndRemoteWithDefaultsForTheRest) {
  CommandLine line = Parsed({"register", "KRVT", "../korvet/Korv.dll", "--remote", "KORVETDatabaseDB"});
  EXPECT_EQ(line.command, Command::kRegister);
  EXPECT_EQ(line.creator, "KRVT");
  EXPECT_EQ(line.library, "../korvet/Korv.dll");
  EXPECT_EQ(line.remote, "KORVETDatabaseDB");
  EXPECT_EQ(line.file, "");
  EXPECT_EQ(line.directory, "");
  EXPECT_EQ(line.title, "KRVT");
  EXPECT_EQ(line.priority, 2);

  line = Parsed({"register", "KRVT", "Korv.dll", "--title", "Korvet", "--priority", "0", "--file", "dummy.qzl",
                 "--remote", "DB", "--directory", "C:\\Data\\"});
  EXPECT_EQ(line.title, "Korvet");
  EXPECT_EQ(line.priority, 0);
  EXPECT_EQ(line.file, "dummy.qzl");
  EXPECT_EQ(line.directory, "C:\\Data\\");

  // CLI11 names what is missing as the usage text does.
  EXPECT_EQ(ErrorOf({"register", "KRVT", "--remote", "DB"}), "LIBRARY is required");
  EXPECT_EQ(ErrorOf({"register", "KRVT", "Korv.dll"}), "--remote is required");
  EXPECT_NE(ErrorOf({"register", "KRV", "Korv.dll", "--remote", "DB"}).find("bad creator"), std::string::npos);
  EXPECT_NE(ErrorOf({"register", "KRVT", "Korv.dll", "--remote", ""}).find("bad --remote"), std::string::npos);
  EXPECT_NE(ErrorOf({"register", "KRVT", "Korv.dll", "--remote", std::string(32, 'd').c_str()}).find("bad --remote"),
            std::string::npos);
  EXPECT_NE(ErrorOf({"register", "KRVT", "Korv.dll", "--remote", "DB", "--file", std::string(256, 'f').c_str()})
                .find("bad --file"),
            std::string::npos);
  EXPECT_NE(ErrorOf({"register", "KRVT", "Korv.dll", "--remote", "DB", "--title", "a\nb"}).find("bad --title"),
            std::string::npos);
  for (const char* priority : {"-1", "two", "", "2147483648", "1x"})
    EXPECT_NE(
        ErrorOf({"register", "KRVT", "Korv.dll", "--remote", "DB", "--priority", priority}).find("bad --priority"),
        std::string::npos)
        << priority;
  EXPECT_NE(
      ErrorOf({"register", "KRVT", "Korv.dll", "--remote", "DB", "--colour", "red"}).find("unknown option --colour"),
      std::string::npos);
}

TEST(Arguments, CreatorCommands) {
  EXPECT_EQ(Parsed({"unregister", "KRVT"}).command, Command::kUnregister);
  EXPECT_EQ(Parsed({"conduits"}).command, Command::kConduits);
  CommandLine configure = Parsed({"configure", "KRVT", "--user", "Ann"});
  EXPECT_EQ(configure.command, Command::kConfigure);
  EXPECT_EQ(configure.creator, "KRVT");
  EXPECT_EQ(configure.user, "Ann");
  EXPECT_FALSE(Parse({"unregister"}).command);
  EXPECT_FALSE(Parse({"unregister", "KRVT", "--user", "Ann"}).command);
  EXPECT_FALSE(Parse({"conduits", "all"}).command);
  EXPECT_FALSE(Parse({"configure", "KRVT", "KRVT"}).command);
}

TEST(Arguments, HandheldCommands) {
  EXPECT_EQ(Parsed({"handheld", "list"}).command, Command::kHandheldList);
  CommandLine dump = Parsed({"handheld", "dump", "KORVETDatabaseDB"});
  EXPECT_EQ(dump.command, Command::kHandheldDump);
  EXPECT_EQ(dump.database, "KORVETDatabaseDB");

  CommandLine add = Parsed({"handheld", "add", "MemoDB", "--text", "--not an option"});
  EXPECT_EQ(add.command, Command::kHandheldAdd);
  EXPECT_EQ(add.text, "--not an option");
  EXPECT_FALSE(add.textFile);
  EXPECT_EQ(add.databaseCreator, "KRVT");
  EXPECT_EQ(add.databaseType, "DATA");
  add = Parsed({"handheld", "add", "MemoDB", "--file", "a.txt", "--creator", "memo", "--type", "DATA"});
  EXPECT_EQ(add.textFile, "a.txt");
  EXPECT_EQ(add.databaseCreator, "memo");
  EXPECT_NE(ErrorOf({"handheld", "add", "MemoDB"}).find("either --text or --file"), std::string::npos);
  EXPECT_NE(ErrorOf({"handheld", "add", "MemoDB", "--text", "a", "--file", "b"}).find("either"), std::string::npos);
  EXPECT_NE(ErrorOf({"handheld", "add", "MemoDB", "--text", "a", "--creator", "ABC"}).find("bad --creator"),
            std::string::npos);
  for (std::string name : {"", "a/b", "a:b", "x.", "x ", "a\x01"})
    EXPECT_NE(ErrorOf({"handheld", "dump", name.c_str()}).find("bad database name"), std::string::npos) << name;
  EXPECT_NE(ErrorOf({"handheld", "dump", std::string(32, 'n').c_str()}).find("bad database name"), std::string::npos);
  EXPECT_EQ(Parsed({"handheld", "dump", std::string(31, 'n').c_str()}).database, std::string(31, 'n'));

  CommandLine report = Parsed({"handheld", "add-report", "Trip 12", "--file", "r.csv"});
  EXPECT_EQ(report.command, Command::kHandheldAddReport);
  EXPECT_EQ(report.database, "KORVETDatabaseDB");
  EXPECT_EQ(report.reportName, "Trip 12");
  EXPECT_EQ(report.reportStamp, "0000001");
  EXPECT_EQ(
      Parsed({"handheld", "add-report", std::string(23, 'r').c_str(), "--file", "r", "--stamp", "2024031"}).reportStamp,
      "2024031");
  EXPECT_NE(ErrorOf({"handheld", "add-report", std::string(24, 'r').c_str(), "--file", "r"}).find("bad report name"),
            std::string::npos);
  EXPECT_NE(ErrorOf({"handheld", "add-report", "a,b", "--file", "r"}).find("bad report name"), std::string::npos);
  EXPECT_EQ(ErrorOf({"handheld", "add-report", "Trip"}), "--file is required");
  EXPECT_NE(ErrorOf({"handheld", "add-report", "Trip", "--file", "r", "--stamp", "123456"}).find("bad --stamp"),
            std::string::npos);

  EXPECT_TRUE(Parsed({"handheld", "add-report", "Trip", "--file", "r", "--private"}).privateRecord);
  EXPECT_FALSE(report.privateRecord);

  for (auto [name, command] : {std::pair{"remove", Command::kHandheldRemove},
                               {"delete", Command::kHandheldDelete},
                               {"archive", Command::kHandheldArchive}}) {
    CommandLine change = Parsed({"handheld", name, "MemoDB", "65535"});
    EXPECT_EQ(change.command, command) << name;
    EXPECT_EQ(change.database, "MemoDB") << name;
    EXPECT_EQ(change.index, 65535) << name;
    for (const char* index : {"-1", "65536", "x", ""})
      EXPECT_NE(ErrorOf({"handheld", name, "MemoDB", index}).find("bad record index"), std::string::npos) << index;
    EXPECT_NE(ErrorOf({"handheld", name, "a/b", "1"}).find("bad database name"), std::string::npos) << name;
  }
  EXPECT_NE(ErrorOf({"handheld"}).find("missing handheld command"), std::string::npos);
  EXPECT_NE(ErrorOf({"handheld", "format"}).find("unknown handheld command format"), std::string::npos);
}

TEST(Arguments, SyncKillAndLink) {
  CommandLine line = Parsed({"sync", "--kill", "DeleteHandheldRecord:4", "--link", "serial"});
  ASSERT_EQ(line.faults.size(), 1u);
  EXPECT_EQ(line.faults[0].kind, kSimFaultKill);
  EXPECT_EQ(line.faults[0].operation, "DeleteHandheldRecord");
  EXPECT_EQ(line.faults[0].nthCall, 4);
  EXPECT_EQ(line.link, "serial");
  EXPECT_EQ(Parsed({"sync"}).link, "");
  for (const char* bad : {"DeleteHandheldRecord", "DeleteHandheldRecord:0", "Nothing:1", "DeleteHandheldRecord:x"})
    EXPECT_NE(ErrorOf({"sync", "--kill", bad}).find("bad --kill"), std::string::npos) << bad;
  EXPECT_NE(ErrorOf({"sync", "--link", "modem"}).find("bad --link"), std::string::npos);
}

TEST(Arguments, SyncFailuresAndCallCounts) {
  CommandLine line = Parsed({"sync", "--fail", "ReadHandheldRecordByIndex:3:0x2004", "--calls", "--type", "slow",
                             "--fail", "DeleteHandheldRecord:1:16387"});
  EXPECT_EQ(line.command, Command::kSync);
  EXPECT_TRUE(line.reportCalls);
  EXPECT_EQ(line.syncType, 1);
  ASSERT_EQ(line.faults.size(), 2u);
  EXPECT_EQ(line.faults[0].kind, kSimFaultFail);
  EXPECT_EQ(line.faults[0].operation, "ReadHandheldRecordByIndex");
  EXPECT_EQ(line.faults[0].nthCall, 3);
  EXPECT_EQ(line.faults[0].code, 0x2004);
  EXPECT_EQ(line.faults[1].operation, "DeleteHandheldRecord");
  EXPECT_EQ(line.faults[1].code, 0x4003);
  EXPECT_FALSE(Parsed({"sync"}).reportCalls);
  // The whole 32 bits in hexadecimal, the signed range in decimal.
  EXPECT_EQ(Parsed({"sync", "--fail", "SyncYieldCycles:1:0xFFFFFFFF"}).faults[0].code, -1);
  EXPECT_EQ(Parsed({"sync", "--fail", "SyncYieldCycles:1:-5"}).faults[0].code, -5);

  for (const char* bad :
       {"ReadHandheldRecordByIndex", "ReadHandheldRecordByIndex:3", "Bogus:1:1", "ReadHandheldRecordByIndex:0:1",
        "ReadHandheldRecordByIndex:x:1", "ReadHandheldRecordByIndex:1:0", "ReadHandheldRecordByIndex:1:0x",
        "ReadHandheldRecordByIndex:1:0x100000000", "ReadHandheldRecordByIndex:1:12a",
        "ReadHandheldRecordByIndex:1:2147483648", ":1:1"}) {
    EXPECT_NE(ErrorOf({"sync", "--fail", bad}).find("bad --fail"), std::string::npos) << bad;
  }
  EXPECT_NE(ErrorOf({"sync", "--fail"}).find("--fail: 1 required"), std::string::npos);
  EXPECT_NE(ErrorOf({"sync", "--calls", "now"}).find("unexpected argument now"), std::string::npos);
  EXPECT_NE(ErrorOf({"conduits", "--calls"}).find("unknown option --calls"), std::string::npos);
}

// A command's name is a value where a value stands, and one command is all a line runs.
TEST(Arguments, OneCommandPerLineAndItsOwnWords) {
  EXPECT_EQ(Parsed({"handheld", "dump", "sync"}).database, "sync");
  EXPECT_EQ(Parsed({"handheld", "add", "list", "--text", "handheld"}).text, "handheld");
  EXPECT_EQ(Parsed({"sync", "--user", "-5"}).user, "-5");
  EXPECT_EQ(Parsed({"register", "KRVT", "/tmp/Korv.dll", "--remote", "DB"}).library, "/tmp/Korv.dll");
  EXPECT_EQ(Parsed({"handheld", "dump", "/?"}).command, Command::kHelp);
  EXPECT_NE(ErrorOf({"sync", "register", "KRVT", "Korv.dll", "--remote", "DB"}).find("unexpected argument register"),
            std::string::npos);
  EXPECT_NE(ErrorOf({"handheld", "list", "dump"}).find("unexpected argument dump"), std::string::npos);
  EXPECT_NE(ErrorOf({"handheld", "dump", "MemoDB", "-x"}).find("unknown option -x"), std::string::npos);
  EXPECT_EQ(Parsed({"help", "sync"}).command, Command::kHelp);
  EXPECT_EQ(Parsed({"handheld", "add", "MemoDB", "--text", "--help"}).text, "--help");
}

TEST(Arguments, HelpAndUnknownCommands) {
  EXPECT_EQ(Parsed({"--help"}).command, Command::kHelp);
  EXPECT_EQ(Parsed({"sync", "--help"}).command, Command::kHelp);
  EXPECT_EQ(Parsed({"help"}).command, Command::kHelp);
  EXPECT_NE(ErrorOf({}).find("no command"), std::string::npos);
  EXPECT_NE(ErrorOf({"hotsync"}).find("unknown command hotsync"), std::string::npos);
}

}  // namespace
}  // namespace korvet::hotsync
