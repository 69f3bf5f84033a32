// The record count a store reports, -1 when it does not answer; for tests of the stores.
#pragma once

#include "conduit/store/database_manager.h"

namespace korvet::testing {

inline long RecordCount(store::DatabaseManager& database) {
  long count = -1;
  database.GetRecordCount(&count);
  return count;
}

}  // namespace korvet::testing
