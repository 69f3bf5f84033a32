// What the installer does once the user said "Yes": copy the desktop tools into the HotSync core
// directory, make the list files there that a standard user can save (list_file_access.h) and
// register Korv.dll with HotSync Manager through the Conduit Manager.
#pragma once

namespace korvet::attach {

// Every problem is shown in a message box as it happens; only a missing Conduit Manager or an
// unknown core directory stops the installation early. The caller shows the restart note.
void InstallConduit();

}  // namespace korvet::attach
