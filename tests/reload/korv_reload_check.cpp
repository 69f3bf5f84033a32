// HotSync Manager loads the conduit library for each HotSync and frees it afterwards, for as long as
// it runs. Loading and freeing Korv.dll many times in one process must keep working.
//   korv_reload_check PATH_OF_KORV_DLL [TIMES]
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: korv_reload_check KORV_DLL [TIMES]\n");
    return 2;
  }
  const int times = argc > 2 ? std::atoi(argv[2]) : 1000;
  for (int i = 1; i <= times; ++i) {
    HMODULE korv = LoadLibraryA(argv[1]);
    if (!korv) {
      std::printf("load %d of %d failed: error %lu\n", i, times, GetLastError());
      return 1;
    }
    using VersionFn = unsigned long (*)();
    auto version = reinterpret_cast<VersionFn>(reinterpret_cast<void*>(GetProcAddress(korv, "GetConduitVersion")));
    if (!version || version() != 0x102) {
      std::printf("load %d of %d: GetConduitVersion did not answer 0x102\n", i, times);
      return 1;
    }
    FreeLibrary(korv);
  }
  std::printf("%d loads and frees of Korv.dll\n", times);
  return 0;
}
