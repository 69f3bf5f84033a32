// Byte layouts fixed by a peer (the Sync Manager, HotSync Manager) hold for the 32-bit build, where a
// pointer field takes four bytes. The 64-bit test-bench build keeps the field order with wider pointers.
#pragma once

#define KORVET_LAYOUT32(condition) static_assert(sizeof(void*) != 4 || (condition), #condition)
