// Status codes of the stand-in Sync Manager (sync20.dll). 0 is success; 0x4003 has the meaning that
// the conduit relies on; the others are this library's own, all within 0x4000 to 0x40FF.
#pragma once

namespace korvet::sim {

inline constexpr long kSyncErrBadArgument = 0x4001;       // missing pointer, bad name, category or size field
inline constexpr long kSyncErrNotFound = 0x4003;          // no such database, record or further record
inline constexpr long kSyncErrBadHandle = 0x4004;         // the handle names no open database
inline constexpr long kSyncErrAlreadyOpen = 0x4005;       // open or delete of a database that is open
inline constexpr long kSyncErrExists = 0x4006;            // create of a database that exists
inline constexpr long kSyncErrNoHandle = 0x4007;          // all 255 handles are in use
inline constexpr long kSyncErrTooLarge = 0x4008;          // a record or block above 65520 bytes
inline constexpr long kSyncErrStorage = 0x4009;           // the database file could not be read or written
inline constexpr long kSyncErrDamaged = 0x400A;           // the database file is not a valid database
inline constexpr long kSyncErrWrongKind = 0x400B;         // a record operation on a resource database, or back
inline constexpr long kSyncErrFull = 0x400C;              // the database holds 65535 records already
inline constexpr long kSyncErrBadSession = 0x400D;        // the session handle names no open session
inline constexpr long kSyncErrReadOnly = 0x400E;          // a change to a database opened without write mode
inline constexpr long kSyncErrUnknownOperation = 0x400F;  // a control call named no Sync Manager operation

}  // namespace korvet::sim
