#include "app/history_recorder.h"

#include <QCoreApplication>

namespace quendra {

HistoryRecorder::HistoryRecorder(HistoryStore& store, QObject* parent) : QObject(parent), store_(store) {}

void HistoryRecorder::watch(HostSession& session, std::function<HostIdentity()> identity) {
  connect(&session, &HostSession::aboutToWrite, this,
          [this, &session, identity](ParamGroup group, std::uint32_t records) {
            if (suspended_) return;
            RecordMasks which{};
            which[static_cast<int>(group)] = records;
            save(session, identity(), which);
          });
}

bool HistoryRecorder::save(HostSession& session, const HostIdentity& host, const RecordMasks& which) {
  ConfigFileHeader header;
  header.savedBy = QCoreApplication::applicationName();
  header.savedAt = QDateTime::currentDateTimeUtc();
  header.host = host;
  // Every record of a group it knows, so that restoring gives back the group whole.
  RecordMasks groups{};
  for (ParamGroup g : kAllGroups)
    if (which[static_cast<int>(g)]) groups[static_cast<int>(g)] = allRecordsOf(g);
  return store_.save(session.lastRead(), groups, header);
}

}  // namespace quendra
