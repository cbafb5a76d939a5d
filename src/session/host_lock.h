#pragma once
// One writer per host across programs: a lock per host MAC, held by an open
// file (flock) for the length of a write, so that two programs never
// interleave their records on one host and a writer that dies releases the
// host with its last open file. It is taken in the user's runtime folder and,
// where the machine has a lock folder every user can write, there too (two
// users' programs on one gateway). The lock file names its holder for the
// writer that is refused.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>
#include <variant>
#include <vector>

#include "link/outer_frame.h"

namespace quendra {

// Who runs this program, as the system names the user (the history and the
// host locks name it).
QString operatingSystemUser();

struct LockHolder {
  QString program;  // the holder's program name
  QString user;     // its operating-system user
  qint64 pid = 0;
  QDateTime since;  // UTC; invalid when the holder had not yet written its name
};

// Where the locks are and who takes them.
struct HostLockPlace {
  // The user's runtime folder, and a shared lock folder where one is writable;
  // $QUENDRA_LOCK_DIR alone when it is set.
  static QStringList defaultFolders();
  QStringList folders;
  QString program;  // written into the lock file; empty: the application's name
};

class HostLock {
 public:
  using Taken = std::variant<std::unique_ptr<HostLock>, LockHolder>;
  // The host's lock in every folder of `place`, or none of them and who holds it.
  static Taken tryTake(const Mac& host, const HostLockPlace& place);
  ~HostLock();
  HostLock(const HostLock&) = delete;
  HostLock& operator=(const HostLock&) = delete;

 private:
  HostLock() = default;
  std::vector<int> files_;  // open, each locked
};

}  // namespace quendra
