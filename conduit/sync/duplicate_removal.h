// Removes older copies of records that share a duplicate key from "KORVETDatabaseDB": each settings
// file sent adds a fresh record, and the device may store a report twice.
#pragma once

#include <cstdint>
#include <string>

namespace korvet {

class ReportPass;

// Of all records with the same key only the one with the highest index remains: the pass deletes the
// older copies as it meets them (report_pass.h). The session asks the pass it shares with report
// retrieval; the form without a pass runs one of its own.
void RemoveDuplicateRecords(ReportPass& pass);
void RemoveDuplicateRecords();

// Deletes every record whose key equals `key`, except the one at index position-1. Works on an open
// database; returns 0 or the first Sync Manager error.
long RemoveOtherCopies(const std::string& key, std::uint8_t handle, std::uint16_t position);

}  // namespace korvet
