// korvet_bench: the benchmark's scenario runner, copied into a fresh stand-in HotSync installation.
//   korvet_bench prepare REPORTS SETTINGS_FILES SETTINGS_FOLDER REPORT_FOLDER
//   korvet_bench session KORV_DLL
//   korvet_bench verify REPORTS REPORT_FOLDER      (every report's file byte for byte)
// "session" plays the part of synchost sync for one conduit (it loads the installation's Sync Manager
// and HotSync log, then Korv.dll, and calls OpenConduit with a fast sync's properties), so that the
// stand-in's call counters, the time and the memory of exactly that one session can be read in the
// same process. It prints "key value" lines for scripts/bench.
#include <cstdlib>
#include <string>

#include "bench/bench_support.h"
#include "bench/scenario.h"
#include "sim/hslog20/hslog20_control.h"
#include "sim/sync20/sync20_control.h"
#include "sim/synchost/conduit_library.h"
#include "sim/synchost/sync_properties_builder.h"

namespace korvet::bench {
namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: korvet_bench prepare REPORTS SETTINGS_FILES SETTINGS_FOLDER REPORT_FOLDER\n"
               "       korvet_bench session KORV_DLL\n"
               "       korvet_bench verify REPORTS REPORT_FOLDER\n");
  return 2;
}

int Fail(const std::string& text) {
  std::fprintf(stderr, "korvet_bench: %s\n", text.c_str());
  return 1;
}

// What synchost hands to OpenConduit's first argument; the conduit only tests it for null.
struct HostContext {
  char signature[16] = "korvet_bench";
};

int RunSession(const std::string& library) {
  const std::string installation = ProgramFolder();
  if (SimSetInstallDirectory(installation.c_str()) != 0) return Fail("the stand-in cannot use " + installation);
  SimLogSetFile(nullptr);
  std::string error;
  std::optional<hotsync::ConduitLibrary> conduit = hotsync::ConduitLibrary::Load(library, &error);
  if (!conduit) return Fail(error);
  hotsync::ConduitRegistration registration;
  registration.creator = "KRVT";
  registration.file = "dummy.qzl";
  registration.remote = kKorvetDatabase;
  std::optional<SyncProperties> properties =
      hotsync::BuildSyncProperties(registration, 0 /* fast sync */, "Bench", &error);
  if (!properties) return Fail(error);

  HostContext context;
  const MemoryFigures before = ProcessMemory();
  SimLogBeginConduit();
  SimResetCallCounts();
  Stopwatch watch;
  const long result = conduit->Exports().openConduit(&context, &*properties);
  const long ended = SimEndSession();
  const double seconds = watch.Seconds();
  const MemoryFigures after = ProcessMemory();

  Say("seconds", seconds);
  Say("result", static_cast<long long>(result));
  Say("ended", static_cast<long long>(ended));
  Say("standin.seconds", SimCallMicroseconds() / 1e6);
  Say("memory.before", static_cast<long long>(before.workingSet));
  Say("memory.peak", static_cast<long long>(after.peakWorkingSet));
  SayCallCounts();
  return result == 0 && ended == 0 ? 0 : 3;
}

int RunPrepare(int argc, char** argv) {
  if (argc != 6) return Usage();
  Scenario scenario;
  scenario.reports = std::atoi(argv[2]);
  scenario.settingsFiles = std::atoi(argv[3]);
  scenario.settingsFolder = argv[4];
  scenario.reportFolder = argv[5];
  std::string error;
  if (!Prepare(ProgramFolder(), scenario, &error)) return Fail(error);
  return 0;
}

}  // namespace
}  // namespace korvet::bench

int main(int argc, char** argv) {
  using namespace korvet::bench;
  if (argc >= 2 && std::string(argv[1]) == "prepare") return RunPrepare(argc, argv);
  if (argc == 3 && std::string(argv[1]) == "session") return RunSession(argv[2]);
  if (argc == 4 && std::string(argv[1]) == "verify") {
    std::string error;
    return ReportsArrived(argv[3], std::atoi(argv[2]), &error) ? 0 : Fail(error);
  }
  return Usage();
}
