// A program planted where a path with a space would be split ("...\Hot.exe" beside "...\Hot Sync\"):
// when it runs, it leaves "planted-ran.txt" with its command line in its own folder, so a test sees
// that a Korvet program started it instead of the program it meant.
#include <windows.h>

#include "common/paths.h"
#include "common/win_file.h"
#include "common/win_library.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  korvet::WinFile::CreateAlways(korvet::JoinPath(korvet::ModuleFolder(nullptr), "planted-ran.txt"))
      .Write(GetCommandLineA());
  return 0;
}
