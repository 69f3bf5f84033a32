// The result of one HotSync session and the line that explains one that is not 0.
#pragma once

#include <cstdint>
#include <string>

namespace korvet {

// Session results of the session's own, beside the synchronizers' status codes.
inline constexpr long kReportsNotRetrieved = 4393;  // 0x1129: traverse reports to retrieve stayed on the handheld
inline constexpr long kSettingsListUnread = 4394;   // 0x112A: the list could not be read to its end

class SessionResult {
 public:
  // sendsFiles: whether the HotSync's sync type sends settings files. Backup, "handheld overwrites
  // desktop" and "do nothing" send none, so their list decides nothing: no entry is then a failure,
  // and an empty list is no failure either.
  explicit SessionResult(bool sendsFiles) : sendsFiles_(sendsFiles) {}

  // One listed file: 0 when it was sent (or needed no sending), else the code of why not.
  void AddListedFile(long code);
  // The list could not be read to its end, so files it names may not have been sent.
  void AddUnreadList(long code) {
    if (sendsFiles_ && unreadList_ == 0) unreadList_ = code;
  }
  // Traverse reports that were to be retrieved stayed on the handheld.
  void AddReportsLeft() { reportsLeft_ = true; }
  // The answer of CloseSyncSession for the session that the listed files' runs shared.
  void AddSyncSessionEnd(long code) {
    if (syncSessionEnd_ == 0) syncSessionEnd_ = code;
  }

  // 0 only when every listed file was sent whole and every report asked for was saved, else the code
  // of the first failure, so that no failure is hidden behind a later success. With no file listed, a
  // list that stopped before its end marker gives 0 and one that ended at it -1.
  long Value(bool stoppedEarly) const;
  // The line written before the closing line when Value is not 0: what went wrong, in counts.
  std::string ProblemLine(bool stoppedEarly) const;

 private:
  bool sendsFiles_;
  int listed_ = 0;
  int notSent_ = 0;
  long firstFailure_ = 0;
  long unreadList_ = 0;
  bool reportsLeft_ = false;
  long syncSessionEnd_ = 0;
};

}  // namespace korvet
