#include "conduit/entry/conduit_exports.h"

extern "C" {
long OpenConduit(void*, korvet::SyncProperties*) { return -1; }
long GetConduitName(char*, std::uint16_t) { return -1; }
std::uint32_t GetConduitVersion() { return 0x102; }
long GetConduitInfo(long, void*, void*, std::uint32_t*) { return 4208; }
long ConfigureConduit(void*) { return -1; }
long CfgConduit(long, void*, std::uint32_t*) { return 4212; }
}
