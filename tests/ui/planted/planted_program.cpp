// A program planted where a path with a space would be split ("...\Hot.exe" beside "...\Hot Sync\"):
// when it runs, it leaves "planted-ran.txt" with its command line in its own folder, so a test sees
// that a Korvet program started it instead of the program it meant.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char module[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, module, sizeof module);
  std::string path = module;
  path = path.substr(0, path.rfind('\\') + 1) + "planted-ran.txt";
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  const char* line = GetCommandLineA();
  DWORD written = 0;
  WriteFile(file, line, lstrlenA(line), &written, nullptr);
  CloseHandle(file);
  return 0;
}
