#include "conduit/entry/config_dialog.h"

namespace korvet {
namespace {

// The dialogs themselves are still being built: until then the configuration ends as if confirmed
// without a change, so the record keeps the actions HotSync Manager put into it.
long ConfirmWithoutChange(int, ConfigRequest*) { return 0; }

ConfigDialogRunner g_runner = nullptr;

}  // namespace

long RunConfigDialog(int templateId, ConfigRequest* record) {
  return (g_runner ? g_runner : ConfirmWithoutChange)(templateId, record);
}

void SetConfigDialogRunner(ConfigDialogRunner runner) { g_runner = runner; }

}  // namespace korvet
