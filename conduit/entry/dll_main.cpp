// The library entry of Korv.dll: records the module handle and builds the shared settings-file store,
// which lives until the library is unloaded; always reports success.
//
// The library pins itself in the process that loads it. Its statically linked runtime takes
// thread-local storage slots at each load and does not give them back at unload, so a host that loads
// and frees the conduit at every HotSync, for as long as it runs, would run out of them after a few
// hundred HotSyncs and end. Pinned, the library is loaded once: every later load finds it there.
#include <windows.h>

#include "conduit/entry/module_state.h"
#include "conduit/sync/settings_file_store.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    HMODULE pinned = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCSTR>(&DllMain), &pinned);
    korvet::ConduitAttached(instance);
    korvet::SharedSettingsFileStore();
  }
  if (reason == DLL_PROCESS_DETACH) korvet::ConduitDetached();
  return TRUE;
}
