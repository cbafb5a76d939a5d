#pragma once
// Keeps what a host held before every write from the window: on each write a
// session is about to send, the records of the groups about to change, as
// last read from that host, go into the history store.
#include <QObject>

#include "config/history_store.h"
#include "session/host_session.h"

namespace quendra {

class HistoryRecorder : public QObject {
  Q_OBJECT
 public:
  explicit HistoryRecorder(HistoryStore& store, QObject* parent = nullptr);

  // Records the writes of `session`; `identity` names its host in the entries.
  void watch(HostSession& session, std::function<HostIdentity()> identity);
  // Saves the state of the records among `which` now (a whole-host write
  // saves one entry for all its groups, then its single writes are not saved again).
  bool saveNow(HostSession& session, const HostIdentity& host, const RecordMasks& which);
  void setSuspended(bool suspended) { suspended_ = suspended; }
  HistoryStore& store() { return store_; }

 private:
  HistoryStore& store_;
  bool suspended_ = false;
};

}  // namespace quendra
