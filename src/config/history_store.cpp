#include "config/history_store.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "records/field_text.h"

namespace quendra {
namespace {

const QString kTimeFormat = QStringLiteral("yyyyMMdd-HHmmss-zzz");

}  // namespace

QString HistoryStore::defaultFolder() {
  // One folder for the window and the command line, whatever the program is called.
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/quendra-config/history");
}

HistoryStore::HistoryStore(QString folder) : folder_(std::move(folder)) {}

QString HistoryStore::folderOf(const Mac& host) const {
  return folder_ + '/' + QString::fromStdString(formatMacDigits(host));
}

bool HistoryStore::save(const HostConfig& state, const RecordMasks& which, const ConfigFileHeader& header,
                        QString* error) {
  if (!header.host) return false;
  RecordMasks kept{};
  QStringList groups;
  for (ParamGroup g : kAllGroups) {
    const int i = static_cast<int>(g);
    kept[i] = which[i] & state.known[i];
    if (kept[i]) groups << QLatin1String(configGroupKey(g));
  }
  if (groups.isEmpty()) return false;
  const QString folder = folderOf(header.host->mac);
  QDir().mkpath(folder);  // when it cannot be made, the write below fails and says why
  const QString name = header.savedAt.toUTC().toString(kTimeFormat) + '_' + groups.join('-') + QStringLiteral(".json");
  if (!writeConfigFile(folder + '/' + name, configFileJson(state, kept, header), error)) return false;
  const std::vector<Entry> all = entries(header.host->mac);
  for (std::size_t i = kKeep; i < all.size(); ++i) QFile::remove(all[i].path);
  return true;
}

std::vector<HistoryStore::Entry> HistoryStore::entries(const Mac& host) const {
  std::vector<Entry> out;
  const QDir dir(folderOf(host));
  // Names start with the time: sorted by name, newest last.
  for (const QString& name : dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name | QDir::Reversed)) {
    Entry e;
    e.path = dir.filePath(name);
    e.savedAt = QDateTime::fromString(name.section('_', 0, 0), kTimeFormat);
    e.savedAt.setTimeSpec(Qt::UTC);
    for (const QString& key : name.section('_', 1).chopped(5).split('-'))
      for (ParamGroup g : kAllGroups)
        if (key == QLatin1String(configGroupKey(g))) e.records[static_cast<int>(g)] = allRecordsOf(g);
    if (const ConfigFileResult file = readConfigFile(e.path); const auto* f = std::get_if<ConfigFile>(&file)) {
      e.savedBy = f->header.savedBy;
      e.user = f->header.user;
    }
    if (e.savedAt.isValid()) out.push_back(e);
  }
  return out;
}

}  // namespace quendra
