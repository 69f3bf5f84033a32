// The library entry of Korv.dll: records the module handle and builds the shared settings-file store,
// which lives until the library is unloaded; always reports success.
#include <windows.h>

#include "conduit/entry/module_state.h"
#include "conduit/sync/settings_file_store.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    korvet::ConduitAttached(instance);
    korvet::SharedSettingsFileStore();
  }
  if (reason == DLL_PROCESS_DETACH) korvet::ConduitDetached();
  return TRUE;
}
