// The history of writes kept on this computer, from the command line: a host's
// entries (the same the window's 历史记录... shows), and one entry printed as
// the configuration file it is. Nothing here opens the network.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/command_context.h"
#include "records/field_text.h"

namespace quendra::cli {
namespace {

HistoryStore storeOf(const Environment& env) {
  return HistoryStore(env.historyFolder.isEmpty() ? HistoryStore::defaultFolder() : env.historyFolder);
}

QString groupList(const RecordMasks& records) {
  QStringList groups;
  for (ParamGroup g : kAllGroups)
    if (records[static_cast<int>(g)]) groups << QLatin1String(configGroupKey(g));
  return groups.join(QStringLiteral(", "));
}

}  // namespace

int historyCommand(Environment& env, const Options& o) {
  const auto mac = o.arguments.size() == 1 ? parseMacAnySpelling(o.arguments[0].toStdString()) : std::nullopt;
  if (!mac) {
    env.err << "quendra-cli: history needs one HOST by its MAC (the history is kept by MAC)\n";
    return kUsage;
  }
  const QString folder = env.historyFolder.isEmpty() ? HistoryStore::defaultFolder() : env.historyFolder;
  QJsonArray rows;
  for (const HistoryStore::Entry& e : storeOf(env).entries(*mac)) {
    // ENTRY: the entry's file under the history folder, as `history show` takes it.
    const QString entry = QDir(folder).relativeFilePath(e.path);
    if (o.json)
      rows.append(QJsonObject{{QStringLiteral("entry"), entry},
                              {QStringLiteral("savedAt"), e.savedAt.toString(Qt::ISODateWithMs)},
                              {QStringLiteral("savedBy"), e.savedBy},
                              {QStringLiteral("user"), e.user},
                              {QStringLiteral("groups"), groupList(e.records)}});
    else
      env.out << entry << "  " << e.savedAt.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) << "  "
              << groupList(e.records) << "  " << terminalText(e.savedBy) << "  " << terminalText(e.user) << '\n';
  }
  if (o.json) env.out << QJsonDocument(rows).toJson(QJsonDocument::Compact) << '\n';
  return kDone;
}

std::optional<QString> historyEntryPath(const QString& historyFolder, const QString& entry) {
  // Only a file of the history folder: ENTRY names one entry, not any file.
  const QDir folder(historyFolder);
  const QString path = QDir::cleanPath(folder.filePath(entry));
  if (!path.startsWith(folder.absolutePath() + '/') || !path.endsWith(QLatin1String(".json")) || !QFileInfo(path).isFile())
    return std::nullopt;
  return path;
}

int historyShowCommand(Environment& env, const Options& o) {
  if (o.arguments.size() != 1) {
    env.err << "quendra-cli: history show needs one ENTRY as history lists it\n";
    return kUsage;
  }
  const auto path = historyEntryPath(storeOf(env).folder(), o.arguments[0]);
  QFile file(path.value_or(QString()));
  if (!path || !file.open(QIODevice::ReadOnly)) {
    env.err << "quendra-cli: no history entry \"" << o.arguments[0] << "\" (quendra-cli history HOST lists them)\n";
    return kUsage;
  }
  const QByteArray bytes = file.read(kMaxConfigFileBytes + 1);
  if (toStandardOutput(o.output)) {
    env.out << QString::fromUtf8(bytes);
  } else if (QString error; !writeConfigFile(o.output, bytes, &error)) {
    env.err << "quendra-cli: " << o.output << ": " << error << '\n';
    return kUsage;
  }
  return kDone;
}

}  // namespace quendra::cli
