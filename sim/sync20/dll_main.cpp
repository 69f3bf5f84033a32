// Writes back what is still open when the process lets the library go, as a handheld keeps its data
// when the cable is pulled.
#include <windows.h>

#include "sim/sync20/library_state.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_DETACH) korvet::sim::Handheld().EndSession();
  return TRUE;
}
