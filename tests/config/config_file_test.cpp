// Host configuration files: what a host holds survives the file byte for byte (hidden network bytes, texts GBK cannot
// decode), a hand edit of a named field takes effect, a file of fields only starts from the host's record, every kind
// of bad file is refused with its JSON path.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include "config/config_file.h"
#include "sim/sim_hosts.h"

using namespace quendra;
using Problem = ConfigFileError::Problem;

namespace {

// A configuration as simulated host 1 holds it, with odd bytes in two texts.
HostConfig hostConfig() {
  const sim::SimHost host = sim::HostFleet(sim::SimOptions{}).hosts()[0];
  HostConfig c;
  for (ParamGroup g : kAllGroups)
    for (int k = 0; k < recordCountOf(g); ++k)
      decodeRecord(c, g, k, g == ParamGroup::Network ? host.network : host.records.at(readCommandOf(g, k)));
  c.network.bytes[58] = c.network.bytes[59] = 0xFF;  // server 2 address: erased flash
  c.channels[3].name1 = "ab\xB7";                    // cut inside a double-byte character
  return c;
}

QJsonObject fileOf(const HostConfig& c) {
  return QJsonDocument::fromJson(configFileJson(c, allRecordMasks(), {})).object();
}

ConfigFile parsed(const QJsonObject& o) {
  const ConfigFileResult r = parseConfigFile(QJsonDocument(o).toJson(), QStringLiteral("f.json"));
  if (const auto* e = std::get_if<ConfigFileError>(&r)) qFatal("refused at %s", qPrintable(e->path));
  return std::get<ConfigFile>(r);
}

// `node` with `v` at the path of keys (array indexes as numbers).
QJsonValue with(const QJsonValue& node, QStringList path, const QJsonValue& v) {
  if (path.isEmpty()) return v;
  const QString key = path.takeFirst();
  bool index = false;
  if (const int n = key.toInt(&index); index) {
    QJsonArray a = node.toArray();
    a[n] = with(a[n], path, v);
    return a;
  }
  QJsonObject o = node.toObject();
  o[key] = with(o[key], path, v);
  return o;
}

}  // namespace

class ConfigFileTest : public QObject {
  Q_OBJECT
 private slots:
  void everyByteSurvivesTheFileAndHandEditsTakeEffect() {
    const HostConfig original = hostConfig();
    QJsonValue file = fileOf(original);
    file = with(file, {"channels", "5", "fields", "upperLimit1"}, 41.5);
    file = with(file, {"base", "fields", "terminalAddress"}, QStringLiteral("1A2b3C4d"));
    file = with(file, {"network", "fields", "listenPort1"}, 4000);
    file = with(file, {"channels", "0", "fields", "name1"}, QStringLiteral("温度"));
    const ConfigFile f = parsed(file.toObject());
    int edits = 0;  // only the edits remain as fields: every other value is the image's
    for (const auto& group : f.records)
      for (const auto& entry : group) edits += entry ? int(entry->fields.size()) : 0;
    QCOMPARE(edits, 4);
    HostConfig expected = original;
    expected.channels[5].upperLimit1 = 41.5f;
    expected.base.terminalAddress = 0x1A2B3C4D;
    expected.network.setListenPort(0, 4000);
    expected.channels[0].name1 = "\xCE\xC2\xB6\xC8";  // as the channel page sends it typed (GBK, not UTF-8)
    QVERIFY(differingRecords(applyConfigFile(f, HostConfig{}), expected, allRecordMasks()) == RecordMasks{});
  }

  void fieldsWithoutImageStartFromTheHostsRecord() {
    QJsonArray relays;
    for (int k = 0; k < 8; ++k) relays.append(k == 1 ? QJsonObject{{"fields", QJsonObject{{"startInterval", 90}}}} : QJsonValue());
    const ConfigFile f = parsed({{"format", "quendra-host-config"}, {"formatVersion", 1}, {"relays", relays}});
    QCOMPARE(f.present()[static_cast<int>(ParamGroup::Relay)], 0b10u);
    const HostConfig host = hostConfig();
    const HostConfig back = applyConfigFile(f, host);
    QCOMPARE(back.relays[1].startInterval, 90);
    QCOMPARE(back.relays[1].workMode, host.relays[1].workMode);
    QCOMPARE(back.relays[0], host.relays[0]);
  }

  void badFilesAreRefusedWithTheirPath_data() {
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<int>("problem");
    QTest::addColumn<QString>("path");
    const QJsonObject good = fileOf(hostConfig());
    // The good file with `v` at `path`, refused there.
    const auto row = [&](const char* name, const QString& path, const QJsonValue& v, Problem p) {
      const QJsonValue bad = with(good, QString(path).replace('[', '.').remove(']').split('.'), v);
      QTest::newRow(name) << QJsonDocument(bad.toObject()).toJson() << int(p) << path;
    };
    // (each field's values: field_json_test; here, that the file names where they stand)
    row("text for a number", "base.fields.loginInterval", "60", Problem::WrongType);
    row("fraction", "relays[2].fields.startDuration", 1.5, Problem::WrongType);
    row("name of 21 bytes", "channels[0].fields.name1", QString(21, 'n'), Problem::TooLong);  // the limit named: 20
    row("unknown key", "led.fields.brightness", 3, Problem::UnknownKey);
    row("unknown group key", "relay", QJsonObject{}, Problem::UnknownKey);
    row("image one byte short", "relays[7].image", QStringLiteral("00010203"), Problem::WrongLength);
    row("image not hex", "base.image", QString(53, QLatin1Char('0')) + 'g', Problem::BadHex);  // 53 digits make 27 bytes
    row("seven relays", "relays", QJsonArray{1, 2, 3, 4, 5, 6, 7}, Problem::WrongLength);
    row("record of nothing", "led", QJsonObject{}, Problem::EmptyRecord);
    row("another format", "format", "something-else", Problem::WrongFormat);
    row("version 2", "formatVersion", 2, Problem::UnsupportedVersion);
    for (const double firmware : {70000.0, 710.5}) {
      const QJsonValue bad = with(good, {"host"}, QJsonObject{{"mac", "02-4B-7D-00-00-01"}, {"firmware", firmware}});
      QTest::newRow(qPrintable("firmware " + QString::number(firmware))) << QJsonDocument(bad.toObject()).toJson() << int(Problem::OutOfRange) << QString("host.firmware");
    }
    QTest::newRow("truncated") << QJsonDocument(good).toJson().left(5000) << int(Problem::NotJson) << QString();
    QTest::newRow("not an object") << QByteArray("[1, 2]") << int(Problem::WrongType) << QString();
  }
  void badFilesAreRefusedWithTheirPath() {
    QFETCH(QByteArray, json);
    QFETCH(int, problem);
    QFETCH(QString, path);
    const ConfigFileResult r = parseConfigFile(json, QStringLiteral("f.json"));
    QVERIFY(std::holds_alternative<ConfigFileError>(r));
    QCOMPARE(int(std::get<ConfigFileError>(r).problem), problem);
    QCOMPARE(std::get<ConfigFileError>(r).path, path);
    if (problem == int(Problem::TooLong)) QCOMPARE(std::get<ConfigFileError>(r).expected, 20);
  }

  void aFileOverTheLimitIsRefusedUnread() {
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("big.json")));
    for (const qint64 size : {kMaxConfigFileBytes, kMaxConfigFileBytes + 1}) {
      QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(size));
      f.close();
      const auto expected = size > kMaxConfigFileBytes ? Problem::TooLarge : Problem::NotJson;
      QCOMPARE(int(std::get<ConfigFileError>(readConfigFile(f.fileName())).problem), int(expected));
    }
  }
};

QTEST_GUILESS_MAIN(ConfigFileTest)
#include "config_file_test.moc"
