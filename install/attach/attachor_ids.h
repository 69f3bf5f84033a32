// Identifiers of the installer's question dialog.
#pragma once

#define IDD_ATTACHOR 100
