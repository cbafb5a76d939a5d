// Host configuration files: what a host holds survives the file byte for
// byte (hidden network bytes, texts GBK cannot decode), a hand edit of a named
// field takes effect, a file of fields only starts from the host's record, and
// every kind of bad file is refused with its JSON path.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include "config/config_file.h"
#include "sim/initial_records.h"

using namespace quendra;
using Problem = ConfigFileError::Problem;

namespace {

// A configuration as simulated host 1 holds it, with odd bytes in two texts.
HostConfig hostConfig() {
  HostConfig c;
  decodeRecord(c, ParamGroup::Network, 0, sim::initialNetworkRecord(0));
  c.network.bytes[58] = 0xFF;  // server 2 address: erased flash
  c.network.bytes[59] = 0xFF;
  decodeRecord(c, ParamGroup::Base, 0, sim::initialBaseRecord(0));
  decodeRecord(c, ParamGroup::Gprs, 0, sim::initialGprsRecord(0));
  decodeRecord(c, ParamGroup::Led, 0, sim::initialLedRecord());
  for (int k = 0; k < 32; ++k) decodeRecord(c, ParamGroup::Channel, k, sim::initialChannelRecord(k));
  for (int k = 0; k < 32; ++k) decodeRecord(c, ParamGroup::Modbus, k, sim::initialModbusRecord(k));
  for (int k = 0; k < 8; ++k) decodeRecord(c, ParamGroup::Relay, k, sim::initialRelayRecord(k));
  c.channels[3].name1 = "ab\xB7";  // cut inside a double-byte character
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

// Sets the value at a path of objects ("channels" arrays indexed by number).
void set(QJsonObject& top, const QStringList& path, const QJsonValue& v) {
  std::function<QJsonValue(QJsonValue, int)> go = [&](QJsonValue node, int i) -> QJsonValue {
    if (i == path.size()) return v;
    bool index = false;
    const int n = path[i].toInt(&index);
    if (index) {
      QJsonArray a = node.toArray();
      a[n] = go(a[n], i + 1);
      return a;
    }
    QJsonObject o = node.toObject();
    o[path[i]] = go(o[path[i]], i + 1);
    return o;
  };
  top = go(top, 0).toObject();
}

}  // namespace

class ConfigFileTest : public QObject {
  Q_OBJECT
 private slots:
  void everyRecordSurvivesTheFileByteForByte() {
    const HostConfig original = hostConfig();
    const HostConfig back = applyConfigFile(parsed(fileOf(original)), HostConfig{});
    for (ParamGroup g : kAllGroups)
      for (int k = 0; k < recordCountOf(g); ++k)
        QCOMPARE(encodeRecord(back, g, k), encodeRecord(original, g, k));
    QVERIFY(differingRecords(original, back, allRecordMasks()) == RecordMasks{});
  }

  void handEditsTakeEffectAndUnchangedFieldsKeepTheImage() {
    QJsonObject file = fileOf(hostConfig());
    set(file, {"channels", "5", "fields", "upperLimit1"}, 41.5);
    set(file, {"base", "fields", "terminalAddress"}, QStringLiteral("1A2b3C4d"));
    set(file, {"network", "fields", "listenPort1"}, 4000);
    const ConfigFile f = parsed(file);
    // Only the three edits remain as fields: every other value is the image's.
    int edits = 0;
    for (const auto& group : f.records)
      for (const auto& entry : group) edits += entry ? int(entry->fields.size()) : 0;
    QCOMPARE(edits, 3);
    const HostConfig back = applyConfigFile(f, HostConfig{});
    QCOMPARE(back.channels[5].upperLimit1, 41.5f);
    QCOMPARE(back.base.terminalAddress, 0x1A2B3C4Du);
    QCOMPARE(back.network.listenPort(0), 4000);
    QCOMPARE(back.network.bytes[58], 0xFF);
    QCOMPARE(back.channels[3].name1, std::string("ab\xB7"));
  }

  void fieldsWithoutImageStartFromTheHostsRecord() {
    QJsonObject file{{"format", "quendra-host-config"}, {"formatVersion", 1}};
    set(file, {"relays"}, QJsonArray{QJsonValue::Null, QJsonObject{{"fields", QJsonObject{{"startInterval", 90}}}},
                                     QJsonValue::Null, QJsonValue::Null, QJsonValue::Null, QJsonValue::Null,
                                     QJsonValue::Null, QJsonValue::Null});
    const ConfigFile f = parsed(file);
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
    const auto row = [&](const char* name, const QStringList& at, const QJsonValue& v, Problem p, const char* path) {
      QJsonObject o = good;
      set(o, at, v);
      QTest::newRow(name) << QJsonDocument(o).toJson() << int(p) << QString::fromLatin1(path);
    };
    row("text for a number", {"base", "fields", "loginInterval"}, "60", Problem::WrongType, "base.fields.loginInterval");
    row("fraction", {"relays", "2", "fields", "startDuration"}, 1.5, Problem::WrongType, "relays[2].fields.startDuration");
    row("beyond 16 bits", {"modbus", "0", "fields", "registerCount"}, 65536, Problem::OutOfRange, "modbus[0].fields.registerCount");
    row("negative", {"channels", "1", "fields", "alarmDelay"}, -1, Problem::OutOfRange, "channels[1].fields.alarmDelay");
    row("float too large", {"base", "fields", "longitude"}, 1e39, Problem::OutOfRange, "base.fields.longitude");
    row("unknown key", {"led", "fields", "brightness"}, 3, Problem::UnknownKey, "led.fields.brightness");
    row("unknown group key", {"relay"}, QJsonObject{}, Problem::UnknownKey, "relay");
    row("name of 21 bytes", {"channels", "0", "fields", "name1"}, QStringLiteral("123456789012345678901"), Problem::TooLong, "channels[0].fields.name1");
    row("not GBK", {"gprs", "fields", "targetAddress"}, QStringLiteral("\U0001F600"), Problem::NotGbk, "gprs.fields.targetAddress");
    row("bad terminal address", {"base", "fields", "terminalAddress"}, QStringLiteral("1234567G"), Problem::BadHex, "base.fields.terminalAddress");
    row("bad address", {"network", "fields", "gateway"}, QStringLiteral("192.168.0.256"), Problem::BadAddress, "network.fields.gateway");
    row("image one byte short", {"relays", "7", "image"}, QStringLiteral("00010203"), Problem::WrongLength, "relays[7].image");
    row("image not hex", {"base", "image"}, QString(54, QLatin1Char('x')), Problem::BadHex, "base.image");
    row("seven relays", {"relays"}, QJsonArray{1, 2, 3, 4, 5, 6, 7}, Problem::WrongLength, "relays");
    row("record of nothing", {"led"}, QJsonObject{}, Problem::EmptyRecord, "led");
    row("another format", {"format"}, "something-else", Problem::WrongFormat, "format");
    row("version 2", {"formatVersion"}, 2, Problem::UnsupportedVersion, "formatVersion");
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
  }

  void aHugeFileIsRefusedUnread() {
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("huge.json")));
    QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(100 * 1024 * 1024));
    f.close();
    const ConfigFileResult r = readConfigFile(f.fileName());
    QCOMPARE(int(std::get<ConfigFileError>(r).problem), int(Problem::TooLarge));
  }
};

QTEST_GUILESS_MAIN(ConfigFileTest)
#include "config_file_test.moc"
