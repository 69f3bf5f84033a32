// What each of HotSync Manager's sync types does, one row a type: which pass the synchronizer runs,
// how the handheld database is opened, loaded and closed, and how the desktop file and its backup
// copy take part. The stores and the synchronizer read their part of a row here; a new sync type is a
// new enumerator and a new row.
#pragma once

#include <array>
#include <cstddef>

#include "conduit/platform/sync_properties.h"

namespace korvet {

enum class SyncPass {
  kNone,
  kFast,                   // the changed records of both sides; a missing side falls back to a copy
  kSlow,                   // every record of both sides, compared; a missing side falls back to a copy
  kCopyDesktopToHandheld,  // the desktop's records onto the handheld
};

enum class HandheldOpening { kNone, kReadWrite, kRecreate };
enum class HandheldLoading { kNone, kChanged, kAll };

enum class DesktopOpening {
  kNone,
  kDirty,            // no file opened, nothing sent (so a missing file fails nothing); marked changed
  kReadWhenPending,  // read while a read is pending, else as kDirty
  kReadOrFallBack,   // as kReadWhenPending, and a missing file makes the mirror fall back to a copy
  kRead,
};

struct SyncTypeRow {
  SyncType type;
  SyncPass pass;
  HandheldOpening handheldOpening;
  HandheldLoading handheldLoading;
  bool clearsHandheldFlags;  // the close clears the handheld's changed marks
  DesktopOpening desktopOpening;
  bool loadsDesktop;  // the desktop file's records take part, so a settings file is sent
};

// clang-format off
inline constexpr std::array<SyncTypeRow, 8> kSyncTypeTable = {{
  // type                        pass                              handheld opening            loading                    clears  desktop opening                  loads
  {kFastSync,                  SyncPass::kFast,                  HandheldOpening::kReadWrite, HandheldLoading::kChanged, true,  DesktopOpening::kReadOrFallBack,  true},
  {kSlowSync,                  SyncPass::kSlow,                  HandheldOpening::kReadWrite, HandheldLoading::kAll,     true,  DesktopOpening::kReadOrFallBack,  true},
  {kHandheldOverwritesDesktop, SyncPass::kCopyDesktopToHandheld, HandheldOpening::kReadWrite, HandheldLoading::kAll,     true,  DesktopOpening::kDirty,           false},
  {kDesktopOverwritesHandheld, SyncPass::kCopyDesktopToHandheld, HandheldOpening::kRecreate,  HandheldLoading::kNone,    true,  DesktopOpening::kReadWhenPending, true},
  {kInstallSync,               SyncPass::kCopyDesktopToHandheld, HandheldOpening::kRecreate,  HandheldLoading::kNone,    true,  DesktopOpening::kRead,            true},
  {kBackupSync,                SyncPass::kCopyDesktopToHandheld, HandheldOpening::kReadWrite, HandheldLoading::kAll,     false, DesktopOpening::kDirty,           false},
  {kDoNothing,                 SyncPass::kNone,                  HandheldOpening::kNone,      HandheldLoading::kNone,    false, DesktopOpening::kNone,            false},
  {kProfileInstall,            SyncPass::kCopyDesktopToHandheld, HandheldOpening::kRecreate,  HandheldLoading::kNone,    true,  DesktopOpening::kRead,            true},
}};
// clang-format on

constexpr bool RowsFollowTheNumbering() {
  for (std::size_t i = 0; i < kSyncTypeTable.size(); ++i)
    if (static_cast<std::size_t>(kSyncTypeTable[i].type) != i) return false;
  return true;
}
static_assert(RowsFollowTheNumbering(), "one row per sync type, in HotSync Manager's numbering");

// The row of a sync type as HotSync Manager numbers it; null for a number that names none.
constexpr const SyncTypeRow* FindSyncType(long type) {
  if (type < 0 || type >= static_cast<long>(kSyncTypeTable.size())) return nullptr;
  return &kSyncTypeTable[static_cast<std::size_t>(type)];
}

constexpr SyncPass PassOf(long type) {
  const SyncTypeRow* row = FindSyncType(type);
  return row ? row->pass : SyncPass::kNone;
}

// Whether the type sends nothing from the desktop file, so that a missing file is no failure of it.
constexpr bool SendsNothing(long type) {
  const SyncTypeRow* row = FindSyncType(type);
  return row && row->desktopOpening == DesktopOpening::kDirty;
}

}  // namespace korvet
