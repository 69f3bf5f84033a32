// The library entry of Korv.dll: records the module handle; always reports success.
#include <windows.h>

#include "conduit/entry/module_state.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) korvet::ConduitAttached(instance);
  if (reason == DLL_PROCESS_DETACH) korvet::ConduitDetached();
  return TRUE;
}
