// The Wireshark dissector against the codecs: two simulated hosts are searched and read whole in process, then broken
// datagrams arrive; in the traffic log's capture tshark with packaging/wireshark/quendra.lua must show every record
// field as fieldsOf(group) reads it, the rest as describeDatagram reads it, and an error exactly where the tool drops
// a datagram.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <map>

#include "link/frame_crc16.h"
#include "link/gbk.h"
#include "link/tunnel_frame.h"
#include "records/field_text.h"
#include "records/record_fields.h"
#include "session/traffic_log.h"
#include "support/session_harness.h"

using namespace quendra;
using namespace quendra::test;

namespace {

using Fields = std::map<QString, QString>;  // "quendra.base.terminalAddress" -> what tshark shows

QString macText(const Mac& mac) { return QString::fromStdString(formatMacDashed(mac)).replace('-', ':').toLower(); }
QString utf8(const std::string& gbk) { return QString::fromStdString(gbkToUtf8(gbk)); }

// Every "quendra.*" value of one packet's tree, at any depth.
void collect(const QJsonObject& tree, Fields& out) {
  for (auto it = tree.begin(); it != tree.end(); ++it) {
    if (it->isObject()) collect(it->toObject(), out);
    else if (it->isString() && it.key().startsWith("quendra.")) out[it.key()] = it->toString();
  }
}

// Host 2 gets values that do not print exactly and texts that fill their areas.
void seedAwkwardValues(sim::SimHost& h) {
  const auto gbk = [](const char* utf8) { return *utf8ToGbk(utf8); };
  const std::pair<ParamGroup, int> seeded[] = {{ParamGroup::Channel, 31}, {ParamGroup::Gprs, 0}, {ParamGroup::Led, 0}};
  HostConfig config;
  for (const auto& [group, k] : seeded) QVERIFY(decodeRecord(config, group, k, h.records[readCommandOf(group, k)]));
  ChannelParams& c = config.channels[31];
  c.upperLimit1 = 0.1f, c.lowerLimit1 = -123.456f, c.coefA1 = 3.4028235e38f, c.coefB1 = 1.1754944e-38f;
  c.hysteresis1 = 1e-45f;  // the smallest subnormal
  c.name1 = gbk("一号机房温度传感器甲"), c.unit2 = "mmHg/s";  // the name: 20 bytes, no terminator
  config.gprs.targetAddress = std::string(62, 'a') + gbk("区");
  config.gprs.alarmPhones = {"13800000001", "13800000002", "13800000003", "13800000004", "13800000005"};
  config.led.headerText = gbk("欢迎使用 Quendra 监控主机");
  for (const auto& [group, k] : seeded) h.records[readCommandOf(group, k)] = encodeRecord(config, group, k);
}

// Datagrams the tool drops or refuses, one for each reason, and one it takes.
std::vector<Bytes> brokenDatagrams(const Mac& mac) {
  const auto reply = [&](std::uint8_t command, std::size_t payload, std::uint8_t versionLow = 10) {
    return OuterFrame::buildTunnelReply(mac, TunnelFrame::buildReply(command, Bytes(payload), 7, versionLow));
  };
  const auto set = [](Bytes d, std::size_t at, std::uint8_t value) { return d.at(at) = value, d; };
  const auto cut = [](Bytes d, std::size_t size) { return d.resize(size), d; };
  Bytes startByte = set(TunnelFrame::buildReply(1, Bytes(27), 7, 10), 0, 0x7F);  // CRC made good again
  putU16LE(startByte, startByte.size() - 2, FrameCrc16::compute(ByteView(startByte).first(startByte.size() - 2)));
  return {Bytes{0x55, 0, 1}, Bytes{0x12, 0, 0, 0}, set(reply(1, 27), 20, 0xEE),
          OuterFrame::buildTunnelReply(mac, startByte), reply(5, 50), reply(151, 0), reply(1, 27, 2),
          reply(151, 0, 2) /* refused before its command is looked at */, set(set(reply(1, 27), 1, 0), 2, 0),
          set(reply(1, 27), 1, 1), set(reply(1, 27), 3, 5), cut(OuterFrame::buildSearchAnswer({1, mac, 712, ""}), 21),
          cut(OuterFrame::buildNetworkAnswer(mac, Bytes(292)), 301), OuterFrame::buildRequest(kWriteMac, mac, Bytes{1}),
          set(OuterFrame::buildReadNetworkRequest(mac), 10, 0), OuterFrame::buildRequest(9, mac, {}),
          OuterFrame::buildTunnelRequest(mac, TunnelFrame::buildRequest(2, Bytes(5))),
          set(reply(4, 0), 19, 0) /* a reply's frame sum is not checked: taken */};
}

// Whether tshark's text shows the value the codecs read: numbers equal, singles equal as singles, texts equal once
// GBK is UTF-8.
bool agrees(const RecordField& field, const FieldValue& value, const QString& shown) {
  if (const auto* text = std::get_if<std::string>(&value)) return shown == utf8(*text);
  if (const auto* real = std::get_if<double>(&value))
    return std::strtof(shown.toLatin1().constData(), nullptr) == static_cast<float>(*real);
  const std::uint32_t number = std::get<std::uint32_t>(value);
  if (field.kind == FieldKind::Ipv4) return shown == QString::fromStdString(formatDottedAddress(number));
  bool ok = false;
  return shown.toULongLong(&ok, 0) == number && ok;  // "0x20250001" for the terminal address
}

}  // namespace

class DissectorAgreementTest : public QObject {
  Q_OBJECT
 private slots:
  void everyRecordFieldAsTheCodecsReadIt() {
    SessionHarness h(sim::SimOptions{.hosts = 2});
    FleetTransport& transport = h.transport;
    seedAwkwardValues(h.host(1));
    TrafficLog log(transport);
    QSignalSpy answers(&h.router, &ReplyRouter::searchAnswered);
    h.router.sendSearch();
    QVERIFY(QTest::qWaitFor([&] { return answers.size() == 2; }));
    std::map<QString, HostConfig> configs;  // by MAC as tshark shows it
    for (const sim::SimHost& host : transport.fleetHosts()) {
      h.session.setTarget(host.mac);
      for (ParamGroup g : kAllGroups) QCOMPARE(h.read(g).outcome, Outcome::Done);
      configs[macText(host.mac)] = h.session.config();
    }
    for (const Bytes& d : brokenDatagrams(transport.fleetHosts()[0].mac)) transport.deliverNow(d);

    QTemporaryDir dir;
    QVERIFY(log.writePcapng(dir.filePath("reads.pcapng")));
    QProcess tshark;
    tshark.start("tshark", {"-X", "lua_script:" QUENDRA_DISSECTOR, "-r", dir.filePath("reads.pcapng"), "-T", "json",
                            "-J", "quendra"});
    QVERIFY2(tshark.waitForFinished(120000), "tshark did not run (scripts/setup installs it)");
    const QByteArray errors = tshark.readAllStandardError();
    QVERIFY2(tshark.exitCode() == 0 && !errors.contains("Lua"), errors.constData());
    const QJsonArray packets = QJsonDocument::fromJson(tshark.readAllStandardOutput()).array();
    QCOMPARE(std::size_t(packets.size()), log.entries().size());

    const char* const kGroupNames[kParamGroupCount] = {"network", "base", "gprs", "led", "channel", "modbus", "relay"};
    const char* const kErrors[] = {"short", "bad_marker", "bad_length", "bad_sum", "bad_crc", "bad_start",
                                   "unknown_command", "short_record"};
    int records = 0;
    for (qsizetype i = 0; i < packets.size(); ++i) {
      Fields shown;
      collect(packets[i]["_source"]["layers"]["quendra"].toObject(), shown);
      const TrafficEntry& entry = log.entries()[std::size_t(i)];
      const DatagramMeaning m = describeDatagram(entry.datagram.view(), entry.direction);
      // Dropped by the tool exactly when the dissector reports an error.
      bool flagged = false;
      for (const char* e : kErrors) flagged |= shown.count(QString("quendra.") + e) > 0;
      const QByteArray where = QString("packet %1").arg(i + 1).toLatin1();
      QVERIFY2(flagged == (m.kind == MeaningKind::Malformed), where);
      QVERIFY2(shown.count("quendra.version_refused") == (m.kind == MeaningKind::VersionRefused), where);
      if (m.kind == MeaningKind::Malformed) continue;
      Fields expected;  // what the tool reads of the frame around the record
      const auto number = [](auto n) { return QString::number(n); };
      if (m.kind == MeaningKind::SearchAnswer)
        expected = {{"search.mac", macText(m.mac)}, {"search.ip", QString::fromStdString(formatDottedAddress(m.search.ip))},
                    {"search.firmware", number(m.search.firmwareVersion)}, {"search.name", utf8(m.search.nameGbk)}};
      else if (m.kind != MeaningKind::SearchRequest)
        expected["mac"] = macText(m.mac);
      if (m.tunnel)
        expected.insert({{"tunnel.command", number(*m.tunnelCommand)}, {"tunnel.group", number(int(m.tunnel->group))},
                         {"tunnel.record", number(m.tunnel->index + 1)}, {"tunnel.write", number(int(m.tunnel->isWrite))}});
      if (m.kind == MeaningKind::TunnelDataReply) expected["trailer.version"] = number(m.hostVersion);
      for (const auto& [key, value] : expected)
        QVERIFY2(shown["quendra." + key] == value,
                 qPrintable(QString("packet %1 %2: tshark shows '%3'").arg(i + 1).arg(key, shown["quendra." + key])));
      if (m.kind != MeaningKind::NetworkAnswer && m.kind != MeaningKind::TunnelDataReply) continue;
      const ParamGroup group = m.tunnel ? m.tunnel->group : ParamGroup::Network;
      const HostConfig& config = configs.at(macText(m.mac));
      for (const RecordField& field : fieldsOf(group)) {
        const QString name = QString("quendra.") + kGroupNames[int(group)] + '.' + QLatin1String(field.key);
        QVERIFY2(shown.count(name) && agrees(field, field.get(config, m.tunnel ? m.tunnel->index : 0), shown[name]),
                 qPrintable(QString("packet %1 %2: tshark shows '%3'").arg(i + 1).arg(name, shown[name])));
      }
      ++records;
    }
    // Every record of both hosts: network, base, GPRS, LED, 32 channels, 32 slots, 8 relays.
    QCOMPARE(records, 2 * (4 + 32 + 32 + 8));
  }
};

QTEST_GUILESS_MAIN(DissectorAgreementTest)
#include "dissector_agreement_test.moc"
