// Identifiers of the remover's question dialog.
#pragma once

#define IDD_DETACHOR 100
