#pragma once
// Keeps what a host held before every write of a page's button: on each write
// the window's session is about to send, the records of the groups about to
// change, as last read from that host, go into the history store. (Whole-host
// writes keep their history through the configuration job.)
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
  // While a configuration job runs on the session, its writes are its own to keep.
  void setSuspended(bool suspended) { suspended_ = suspended; }

 private:
  bool save(HostSession& session, const HostIdentity& host, const RecordMasks& which);
  HistoryStore& store_;
  bool suspended_ = false;
};

}  // namespace quendra
