#include "conduit/entry/session_result.h"

namespace korvet {

void SessionResult::AddListedFile(long code) {
  ++listed_;
  if (code == 0) return;
  ++notSent_;
  if (firstFailure_ == 0) firstFailure_ = code;
}

long SessionResult::Value(bool stoppedEarly) const {
  if (firstFailure_ != 0) return firstFailure_;
  if (unreadList_ != 0) return unreadList_;
  if (syncSessionEnd_ != 0) return syncSessionEnd_;
  if (sendsFiles_ && listed_ == 0 && !stoppedEarly) return -1;
  return reportsLeft_ ? kReportsNotRetrieved : 0;
}

std::string SessionResult::ProblemLine(bool stoppedEarly) const {
  if (Value(stoppedEarly) == 0) return {};
  std::string line = "KorvIR Sync finished with problems:";
  const char* separator = " ";
  auto add = [&](const std::string& part) {
    line += separator + part;
    separator = ", ";
  };
  if (notSent_ > 0) {
    add(std::to_string(notSent_) + " of " + std::to_string(listed_) + " listed Ostrel settings files not sent");
  } else if (sendsFiles_ && listed_ == 0 && unreadList_ == 0 && !stoppedEarly) {
    add("no Ostrel settings file listed");
  }
  if (unreadList_ != 0) add("Xembrafilepath.dat not read to its end");
  if (syncSessionEnd_ != 0) add("the Sync Manager session did not close");
  if (reportsLeft_) add("traverse reports left on the handheld");
  return line;
}

}  // namespace korvet
