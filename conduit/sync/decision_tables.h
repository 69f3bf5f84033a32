// The synchronizer's decision tables: for a state key built from a record's status on the handheld,
// the status of its counterpart on the desktop and, in a slow sync, whether the two contents differ,
// each table gives the mask of actions to carry out. A key that is not in a table gives 0.
#pragma once

#include <cstdint>

namespace korvet::sync {

// Record status codes, from a record's attribute bits.
inline constexpr std::uint32_t kStatusDeleted = 0x01;
inline constexpr std::uint32_t kStatusArchived = 0x02;
inline constexpr std::uint32_t kStatusModified = 0x04;
inline constexpr std::uint32_t kStatusNew = 0x08;
inline constexpr std::uint32_t kStatusUnchanged = 0x20;
inline constexpr std::uint32_t kStatusAbsent = 0x40;

// Comparison bits of a slow-sync key.
inline constexpr std::uint32_t kContentsDiffer = 0x10000000;
inline constexpr std::uint32_t kContentsEqual = 0x20000000;

// Action bits, carried out from bit 0 upwards.
inline constexpr std::uint32_t kDeleteDesktop = 0x00000001;
inline constexpr std::uint32_t kArchiveDesktop = 0x00000002;
inline constexpr std::uint32_t kDeleteHandheld = 0x00000004;
inline constexpr std::uint32_t kArchiveHandheld = 0x00000008;
inline constexpr std::uint32_t kWriteToHandheld = 0x00000010;
inline constexpr std::uint32_t kAddToDesktop = 0x00000020;
inline constexpr std::uint32_t kReplaceDesktop = 0x00000040;
inline constexpr std::uint32_t kReplaceHandheld = 0x00000080;
inline constexpr std::uint32_t kResolveBothModified = 0x00000100;
inline constexpr std::uint32_t kResolveModifiedAgainstArchived = 0x00000200;
inline constexpr std::uint32_t kResolveArchivedAgainstModified = 0x00000400;
inline constexpr std::uint32_t kResolveBothArchived = 0x00000800;
inline constexpr std::uint32_t kDuplicateConflict = 0x00002000;
inline constexpr std::uint32_t kDeleteHandheldCounterpart = 0x00010000;
inline constexpr std::uint32_t kLogModifyDeleteConflict = 0x01000000;
inline constexpr std::uint32_t kNoAction = 0x10000000;

// The key of a handheld record against its desktop counterpart.
constexpr std::uint32_t HandheldKey(std::uint32_t handheldStatus, std::uint32_t desktopStatus,
                                    std::uint32_t comparison = 0) {
  return (handheldStatus << 16) | desktopStatus | comparison;
}

std::uint32_t FastHandheldAction(std::uint32_t key);  // 80 rows
std::uint32_t SlowHandheldAction(std::uint32_t key);  // 129 rows
std::uint32_t FastDesktopAction(std::uint32_t key);   // 15 rows: the desktop status
std::uint32_t DesktopAction(std::uint32_t key);       // 15 rows: the desktop status
std::uint32_t DesktopCopyAction(std::uint32_t key);   // 14 rows: the desktop status
std::uint32_t HandheldCopyAction(std::uint32_t key);  // 8 rows: the handheld status shifted left by 16

}  // namespace korvet::sync
