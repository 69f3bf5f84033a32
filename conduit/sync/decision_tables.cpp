#include "conduit/sync/decision_tables.h"

#include <array>
#include <cstddef>

namespace korvet::sync {
namespace {

struct Row {
  std::uint32_t key;
  std::uint32_t action;
};

constexpr std::uint32_t kNone = kNoAction;
constexpr std::uint32_t kGap = 0xFFFFFFFF;  // no row in the table

// The desktop statuses that head the columns of the handheld-pass tables.
constexpr std::array<std::uint32_t, 8> kDesktopColumns = {0x40, 0x20, 0x01, 0x02, 0x04, 0x06, 0x05, 0x08};

struct GridRow {
  std::uint32_t comparison;
  std::uint32_t handheld;
  std::array<std::uint32_t, 8> actions;
};

// Fast sync, handheld pass: row = handheld status, column = desktop status.
constexpr GridRow kFastGrid[] = {
    {0, 0x01, {0x4, 0x5, 0x5, 0x6, 0x1000080, 0x6, 0x5, kNone}},
    {0, 0x05, {0x4, 0x5, 0x5, 0x6, 0x1000080, 0x6, 0x5, kNone}},
    {0, 0x02, {0x8, 0x9, 0x9, 0x9, 0x1000080, 0x6, 0x9, kNone}},
    {0, 0x06, {0x8, 0x9, 0x9, 0x9, 0x200, 0x800, 0x9, kNone}},
    {0, 0x04, {0x20, 0x40, 0x1000040, 0x1000040, 0x100, 0x400, 0x1000040, kNone}},
    {0, 0x20, {kNone, kNone, 0x5, 0x6, 0x80, 0x6, 0x5, 0x80}},
    {0, 0x40, {kNone, kNone, 0x1, 0x2, 0x10, 0x2, 0x1, 0x10}},
    {0, 0x08, {0x20, 0x40, 0x1000040, 0x1000040, 0x100, 0x1000040, 0x1000040, kNone}},
    {0, 0x03, {0x8, 0x9, 0x9, 0x9, 0x200, 0x800, 0x9, kNone}},
    {0, 0x07, {0x8, 0x9, 0x9, 0x9, 0x200, 0x800, 0x9, kNone}},
};

// Slow sync, handheld pass: the first column of each row is the comparison.
constexpr std::uint32_t kDiffer = kContentsDiffer;
constexpr std::uint32_t kEqual = kContentsEqual;
constexpr GridRow kSlowGrid[] = {
    {0, 0x01, {0x4, 0x5, 0x5, 0x6, 0x1000080, 0x6, 0x5, kNone}},
    {0, 0x05, {0x4, 0x5, 0x5, 0x6, 0x1000080, 0x6, 0x5, kNone}},
    {0, 0x02, {0x8, kGap, kGap, kGap, kGap, kGap, kGap, kGap}},
    {0, 0x06, {0x8, kGap, kGap, kGap, kGap, kGap, kGap, kGap}},
    {0, 0x04, {0x20, kGap, kGap, kGap, kGap, kGap, kGap, kGap}},
    {0, 0x20, {0x20, kGap, kGap, kGap, kGap, kGap, kGap, kGap}},
    {0, 0x40, {kNone, 0x10, 0x1, 0x2, 0x10, 0x2, 0x1, 0x10}},
    {0, 0x08, {0x20, kGap, kGap, kGap, kGap, kGap, kGap, kGap}},
    {0, 0x03, {0x8, kGap, kGap, kGap, kGap, kGap, kGap, kGap}},
    {0, 0x07, {0x8, kGap, kGap, kGap, kGap, kGap, kGap, kGap}},
    {kDiffer, 0x02, {kGap, 0x9, 0x9, 0xA, 0x80, 0xA, 0x9, kNone}},
    {kDiffer, 0x06, {kGap, 0x9, 0x9, 0xA, 0x1002000, 0xA, 0x9, kNone}},
    {kDiffer, 0x04, {kGap, 0x40, 0x40, 0x1000040, 0x2000, 0x2000, 0x40, kNone}},
    {kDiffer, 0x20, {kGap, 0x2000, 0x5, 0x6, 0x80, 0x6, 0x5, 0x2000}},
    {kDiffer, 0x08, {kGap, kNone, kNone, kNone, kNone, kNone, kNone, kNone}},
    {kDiffer, 0x03, {kGap, 0x9, 0x9, 0xA, 0x80, 0xA, 0x9, kNone}},
    {kDiffer, 0x07, {kGap, 0x9, 0x9, 0xA, 0x1002000, 0xA, 0x9, kNone}},
    {kEqual, 0x02, {kGap, 0x9, 0x9, 0x9, 0x9, 0x9, 0x9, kNone}},
    {kEqual, 0x06, {kGap, 0x9, 0x9, 0x9, 0x9, 0x9, 0x9, kNone}},
    {kEqual, 0x04, {kGap, 0x0, 0x5, 0x6, 0x0, 0x6, 0x5, kNone}},
    {kEqual, 0x20, {kGap, 0x0, 0x5, 0x6, 0x0, 0x6, 0x5, 0x0}},
    {kEqual, 0x08, {kGap, kNone, kNone, kNone, kNone, kNone, kNone, kNone}},
    {kEqual, 0x03, {kGap, 0x9, 0x9, 0x9, 0x9, 0x9, 0x9, kNone}},
    {kEqual, 0x07, {kGap, 0x9, 0x9, 0x9, 0x9, 0x9, 0x9, kNone}},
};

// The desktop statuses of the desktop-pass tables, in the order of their rows.
constexpr std::array<std::uint32_t, 15> kDesktopRows = {0x40, 0x20, 0x01, 0x02, 0x04, 0x06, 0x05, 0x08,
                                                        0x0C, 0x0A, 0x0E, 0x09, 0x0D, 0x03, 0x07};
constexpr std::array<std::uint32_t, 15> kFastDesktopActions = {kNone,   kNone,   0x10001, 0x10002, 0x80,
                                                               0x10002, 0x10001, 0x10,    0x10,    0x10002,
                                                               0x10002, 0x10001, 0x10001, 0x10002, 0x10002};
constexpr std::array<std::uint32_t, 15> kOtherDesktopActions = {kNone, 0x1, 0x1, 0x2, 0x80, 0x2, 0x1, 0x10,
                                                                0x10,  0x2, 0x2, 0x1, 0x1,  0x2, 0x2};

constexpr Row kDesktopCopyRows[] = {{0x20, 0x10}, {0x01, 0x1},  {0x02, 0x2},  {0x04, 0x10}, {0x06, 0x2},
                                    {0x05, 0x1},  {0x08, 0x10}, {0x0C, 0x10}, {0x0A, 0x2},  {0x0E, 0x2},
                                    {0x09, 0x1},  {0x0D, 0x1},  {0x03, 0x2},  {0x07, 0x2}};

constexpr Row kHandheldCopyRows[] = {{0x20 << 16, 0x20}, {0x01 << 16, 0x0}, {0x02 << 16, 0x8}, {0x04 << 16, 0x20},
                                     {0x06 << 16, 0x8},  {0x05 << 16, 0x0}, {0x03 << 16, 0x8}, {0x07 << 16, 0x8}};

// The grids unfold into (key, action) rows once; look-ups are linear searches of those rows.
template <std::size_t Rows>
constexpr std::size_t CountRows(const GridRow (&grid)[Rows]) {
  std::size_t count = 0;
  for (const GridRow& row : grid)
    for (std::uint32_t action : row.actions) count += action != kGap;
  return count;
}

template <std::size_t Count, std::size_t Rows>
constexpr std::array<Row, Count> Unfold(const GridRow (&grid)[Rows]) {
  std::array<Row, Count> rows{};
  std::size_t n = 0;
  for (const GridRow& row : grid) {
    for (std::size_t column = 0; column < kDesktopColumns.size(); ++column) {
      if (row.actions[column] == kGap) continue;
      rows[n++] = {HandheldKey(row.handheld, kDesktopColumns[column], row.comparison), row.actions[column]};
    }
  }
  return rows;
}

template <std::size_t Count>
constexpr std::array<Row, Count> Zip(const std::array<std::uint32_t, Count>& keys,
                                     const std::array<std::uint32_t, Count>& actions) {
  std::array<Row, Count> rows{};
  for (std::size_t i = 0; i < Count; ++i) rows[i] = {keys[i], actions[i]};
  return rows;
}

constexpr auto kFastHandheldRows = Unfold<CountRows(kFastGrid)>(kFastGrid);
constexpr auto kSlowHandheldRows = Unfold<CountRows(kSlowGrid)>(kSlowGrid);
constexpr auto kFastDesktopRows = Zip(kDesktopRows, kFastDesktopActions);
constexpr auto kOtherDesktopRows = Zip(kDesktopRows, kOtherDesktopActions);

static_assert(kFastHandheldRows.size() == 80);
static_assert(kSlowHandheldRows.size() == 129);

template <typename Rows>
std::uint32_t Lookup(const Rows& rows, std::uint32_t key) {
  for (const Row& row : rows) {
    if (row.key == key) return row.action;
  }
  return 0;
}

}  // namespace

std::uint32_t FastHandheldAction(std::uint32_t key) { return Lookup(kFastHandheldRows, key); }
std::uint32_t SlowHandheldAction(std::uint32_t key) { return Lookup(kSlowHandheldRows, key); }
std::uint32_t FastDesktopAction(std::uint32_t key) { return Lookup(kFastDesktopRows, key); }
std::uint32_t DesktopAction(std::uint32_t key) { return Lookup(kOtherDesktopRows, key); }
std::uint32_t DesktopCopyAction(std::uint32_t key) { return Lookup(kDesktopCopyRows, key); }
std::uint32_t HandheldCopyAction(std::uint32_t key) { return Lookup(kHandheldCopyRows, key); }

}  // namespace korvet::sync
