#include "tests/sweep/hostile_sweep.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/sweep/session_checks.h"

namespace korvet::sweep {
namespace {

// splitmix64: the same numbers on every build and platform, so a seed and an index name a case.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // 0 to n-1.
  std::size_t Below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(Next() % n); }
  bool OneIn(std::size_t n) { return Below(n) == 0; }
  std::string Bytes(std::size_t length) {
    std::string bytes(length, '\0');
    for (char& c : bytes) c = static_cast<char>(Next() & 0xFF);
    return bytes;
  }
  // Bytes drawn from a small alphabet, so that separators and markers turn up often.
  std::string From(const std::string& alphabet, std::size_t length) {
    std::string bytes;
    for (std::size_t i = 0; i < length; ++i) bytes.push_back(alphabet[Below(alphabet.size())]);
    return bytes;
  }
  template <typename T, std::size_t N>
  const T& Pick(const std::array<T, N>& items) {
    return items[Below(N)];
  }

 private:
  std::uint64_t state_;
};

constexpr const char* kListMarkers = ",*@^&$#%\\:.";
const std::string kPrintable = [] {
  std::string text;
  for (int c = 0x20; c < 0x7F; ++c) text.push_back(static_cast<char>(c));
  return text;
}();

const std::array<std::string, 24> kHostileNames = {"CON",
                                                   "nul",
                                                   "COM1.txt",
                                                   "LPT9 ",
                                                   "AUX.csv",
                                                   "PRN.",
                                                   "..",
                                                   "..\\..\\escape",
                                                   "a/b",
                                                   "a:b",
                                                   "a*b",
                                                   "a?b",
                                                   "<x>",
                                                   "a|b",
                                                   "\"q\"",
                                                   " ",
                                                   ".",
                                                   "...",
                                                   "Reports\\..\\..\\x",
                                                   "C:\\x",
                                                   "\\\\server\\share\\x",
                                                   "a\tb",
                                                   "CON\\x",
                                                   "..."};

std::string ReportRecord(const std::string& name, const std::string& text) { return "$0000001" + name + "," + text; }

std::string ReportName(Random& random) {
  switch (random.Below(5)) {
    case 0:
      return random.Pick(kHostileNames);
    case 1:
      return random.From(kPrintable, random.Below(300));
    case 2:
      return random.Bytes(random.Below(40));
    case 3:
      return random.Pick(kHostileNames) + random.From("abc.\\/: ", random.Below(6));
    default:
      return "T" + std::to_string(random.Below(1000));
  }
}

// A desktop data file header (84 bytes) with chosen counts and sizes, then random bytes.
std::string DamagedDataFile(Random& random) {
  std::string bytes(84, '\0');
  auto put32 = [&bytes](std::size_t at, std::uint32_t value) { std::memcpy(&bytes[at], &value, 4); };
  put32(0, random.OneIn(3) ? static_cast<std::uint32_t>(random.Next()) : 84);
  bytes[4] = 1;
  std::memcpy(&bytes[6], "KORVETDatabaseDB", 16);
  const std::array<std::uint32_t, 6> counts = {0, 1, 3, 0xFFFF, 0x7FFFFFFF, 0xFFFFFFFF};
  put32(72, random.Pick(counts));
  put32(76, random.Pick(counts));
  put32(80, random.Pick(counts));
  return bytes + random.Bytes(random.Below(400));
}

struct HostileCase {
  Scene scene;
  std::string kind;
};

HostileCase MakeCase(const SweepBench& bench, std::uint64_t seed, std::uint64_t index) {
  Random random(seed * 0x100000001B3ull ^ (index + 1) * 0x9E3779B97F4A7C15ull);
  HostileCase made;
  Scene& scene = made.scene;
  const std::string settings = bench.Path("Settings");
  // A sound installation first: two settings files listed, three reports, retrieval and deletion on.
  scene.files["Settings\\a.qzl"] = "Ko a";
  scene.files["Settings\\b.qzl"] = "Ko b\r\nline two";
  scene.keptFiles = {"Settings\\a.qzl", "Settings\\b.qzl"};
  scene.files["hotsync\\Xembrafilepath.dat"] = settings + "\\,a.qzl*" + settings + "\\,b.qzl*@";
  scene.files["hotsync\\Cardoon.dat"] = bench.Path("Reports") + "\\@$#";
  std::vector<std::string>& records = *scene.records;
  records = {ReportRecord("First", "x,y\r\n"), ReportRecord("Second", "2"), "a.qzl,Ko old*"};
  const std::array<std::int32_t, 4> syncTypes = {0, 1, 2, 3};
  scene.syncType = random.OneIn(3) ? random.Pick(syncTypes) : 0;

  switch (random.Below(12)) {
    case 0:
      made.kind = "records of random bytes";
      for (std::size_t n = random.Below(20); n > 0; --n) {
        std::string record = random.Bytes(random.Below(600));
        if (random.OneIn(2) && !record.empty()) record[0] = '$';
        records.push_back(record);
      }
      break;
    case 1:
      made.kind = "reports without a comma";
      for (std::size_t n = 1 + random.Below(6); n > 0; --n) {
        std::string name = random.From(kPrintable, random.Below(80));
        std::erase(name, ',');
        records.push_back("$0000001" + name);
      }
      break;
    case 2:
      made.kind = "zero bytes anywhere";
      for (std::size_t n = 1 + random.Below(6); n > 0; --n) {
        std::string record = ReportRecord("Z" + std::to_string(n), "a,b\r\nc,d\r\n");
        for (std::size_t zeros = 1 + random.Below(3); zeros > 0; --zeros) record[random.Below(record.size())] = '\0';
        records.push_back(record);
      }
      break;
    case 3:
      made.kind = "report names of 0 to 300 bytes";
      for (std::size_t n = 1 + random.Below(6); n > 0; --n) {
        std::string name = random.From(kPrintable, random.Below(301));
        std::erase(name, ',');
        records.push_back(ReportRecord(name, "text " + std::to_string(n)));
      }
      break;
    case 4:
      made.kind = "reserved characters and device names";
      for (std::size_t n = 1 + random.Below(6); n > 0; --n)
        records.push_back(ReportRecord(ReportName(random), "r" + std::to_string(n)));
      break;
    case 5:
      made.kind = "records of 0 and 65520 bytes";
      records.push_back("");
      records.push_back(ReportRecord("Big", std::string(65520 - 12, 'b')));
      if (random.OneIn(2)) records.push_back("$" + random.Bytes(65519));
      if (random.OneIn(2)) records.push_back(std::string(65520, ','));
      break;
    case 6:
      made.kind = "settings-file list of random bytes";
      scene.files["hotsync\\Xembrafilepath.dat"] =
          random.OneIn(2) ? random.Bytes(random.Below(3000))
                          : random.From(std::string(kListMarkers) + "ab", random.Below(600));
      break;
    case 7:
      made.kind = "list files of 1 MB";
      if (random.OneIn(2)) {
        std::string list;
        while (list.size() < (1u << 20)) list += settings + "\\," + (random.OneIn(2) ? "a.qzl*" : "missing.qzl*");
        scene.files["hotsync\\Xembrafilepath.dat"] = list;
      } else {
        scene.files["hotsync\\Xembrafilepath.dat"] = random.Bytes(1u << 20);
      }
      scene.files["hotsync\\Cardoon.dat"] =
          random.OneIn(2) ? random.Bytes(1u << 20) : std::string(1u << 20, 'R') + "\\@$#";
      break;
    case 8: {
      made.kind = "list files without markers";
      scene.files["hotsync\\Xembrafilepath.dat"] =
          settings + "\\,a.qzl" + (random.OneIn(2) ? "" : settings + "\\,b.qzl");
      const std::array<std::string, 4> folders = {bench.Path("Reports") + "\\", bench.Path("Reports"), "Reports\\", ""};
      scene.files["hotsync\\Cardoon.dat"] = random.Pick(folders) + (random.OneIn(2) ? "$#" : "");
      break;
    }
    case 9: {
      made.kind = "list files of markers only";
      const std::array<std::string, 10> lists = {"@",  "@^",    "*@$", "^",        "@@@@",
                                                 ",*", "****@", "&",   ",a.qzl*@", "\\,*@^"};
      scene.files["hotsync\\Xembrafilepath.dat"] = random.Pick(lists);
      const std::array<std::string, 8> folders = {"@$#", "$#", "@", "#", "@$", "$@#", "\\@$#", "@^#"};
      scene.files["hotsync\\Cardoon.dat"] = random.Pick(folders);
      break;
    }
    case 10: {
      made.kind = "report folder files of hostile folders";
      const std::array<std::string, 8> folders = {bench.Path("Reports"),
                                                  "Reports\\",
                                                  "..\\Reports\\",
                                                  bench.Path("Reports") + "\\sub\\..\\",
                                                  bench.Path("Reports") + "\\\\",
                                                  bench.Path("Reports") + "\\" + std::string(300, 'x') + "\\",
                                                  random.Bytes(random.Below(60)),
                                                  "\\"};
      scene.files["hotsync\\Cardoon.dat"] = random.Pick(folders) + "@$#";
      break;
    }
    default: {
      made.kind = "damaged .BAK and .ARC files";
      for (const char* name : {"Settings\\a.BAK", "Settings\\b.BAK", "Settings\\a.ARC", "Settings\\b.ARC"}) {
        if (random.OneIn(3)) continue;
        scene.files[name] = random.OneIn(2) ? DamagedDataFile(random) : random.Bytes(random.Below(2000));
      }
      scene.syncType = random.OneIn(3) ? 0 : 1;  // a slow sync reads the backup copy
      break;
    }
  }
  if (random.OneIn(8)) scene.records.reset();  // no database on the handheld
  // Drawn last, so that the cases above stay what they were for their seed and index.
  if (random.OneIn(6)) {
    made.kind += ", settings file of " + std::string(random.OneIn(2) ? "random bytes" : "1 MB");
    scene.files["Settings\\a.qzl"] =
        made.kind.ends_with("1 MB") ? std::string(1u << 20, 'k') : random.Bytes(random.Below(700));
  }
  return made;
}

}  // namespace

int RunHostileSweep(SweepBench& bench, std::uint64_t seed, std::uint64_t cases, std::optional<std::uint64_t> only,
                    unsigned timeLimitMs) {
  int failures = 0;
  std::size_t reportsChecked = 0, run = 0;
  for (std::uint64_t index = only.value_or(0); index < (only ? *only + 1 : cases); ++index) {
    HostileCase made = MakeCase(bench, seed, index);
    char what[160];
    std::snprintf(what, sizeof what, "hostile case SEED=%llu index %llu (%s, sync type %d)",
                  static_cast<unsigned long long>(seed), static_cast<unsigned long long>(index), made.kind.c_str(),
                  static_cast<int>(made.scene.syncType));
    bench.Restore(made.scene);
    const std::vector<Report> reports =
        made.scene.records ? ReportsThatMustSurvive(*made.scene.records) : std::vector<Report>{};
    SessionFindings findings = RunCheckedSession(bench, made.scene, reports, what, timeLimitMs);
    reportsChecked += findings.reportsChecked;
    ++run;
    for (const std::string& problem : findings.problems) std::printf("FAILED: %s: %s\n", what, problem.c_str());
    if (!findings.problems.empty()) ++failures;
  }
  std::printf(
      "hostile sweep: seed %llu, %zu cases, %zu reports checked, %zu handheld files kept for Palm::PDB, "
      "%d failed\n",
      static_cast<unsigned long long>(seed), run, reportsChecked, bench.ArchivedFiles(), failures);
  return failures;
}

}  // namespace korvet::sweep
