// The Wireshark dissector against the codecs: two simulated hosts (one with
// awkward floats and full-width GBK texts) are searched and every group of
// each is read in process; the traffic log writes the capture, and tshark with
// packaging/wireshark/quendra.lua must show every record field as
// fieldsOf(group) reads it from the configuration, and every search answer,
// host, tunnel command and version as describeDatagram reads them.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <map>

#include "link/gbk.h"
#include "records/field_text.h"
#include "records/record_fields.h"
#include "session/host_session.h"
#include "session/reply_router.h"
#include "session/traffic_log.h"
#include "support/fleet_transport.h"

using namespace quendra;
using namespace quendra::test;

namespace {

const char* const kGroupNames[kParamGroupCount] = {"network", "base", "gprs", "led", "channel", "modbus", "relay"};

using Fields = std::map<QString, QString>;  // "quendra.base.terminalAddress" -> what tshark shows

// A MAC as Wireshark shows it: 02:4b:7d:00:00:01.
QString macText(const Mac& mac) { return QString::fromStdString(formatMacDashed(mac)).replace('-', ':').toLower(); }

// Every "quendra.*" value of one packet's tree, at any depth.
void collect(const QJsonObject& tree, Fields& out) {
  for (auto it = tree.begin(); it != tree.end(); ++it) {
    if (it->isObject()) collect(it->toObject(), out);
    else if (it->isString() && it.key().startsWith("quendra.")) out[it.key()] = it->toString();
  }
}

// Host 1 gets values that do not print exactly and texts that fill their areas.
void seedAwkwardValues(sim::SimHost& h) {
  auto gbk = [](const char* utf8) { return *utf8ToGbk(utf8); };
  ChannelParams c = *decodeChannelPayload(h.records[readCommandOf(ParamGroup::Channel, 31)]);
  c.upperLimit1 = 0.1f;
  c.lowerLimit1 = -123.456f;
  c.coefA1 = 3.4028235e38f;
  c.coefB1 = 1.1754944e-38f;
  c.hysteresis1 = 1e-45f;  // the smallest subnormal
  c.name1 = gbk("一号机房温度传感器甲");  // 20 bytes, no terminator
  c.unit2 = "mmHg/s";
  h.records[readCommandOf(ParamGroup::Channel, 31)] = encodeChannelPayload(c);
  GprsParams g;
  decodeGprsParams(h.records[readCommandOf(ParamGroup::Gprs)], g);
  g.targetAddress = std::string(62, 'a') + gbk("区");
  g.alarmPhones = {"13800000001", "13800000002", "13800000003", "13800000004", "13800000005"};
  h.records[readCommandOf(ParamGroup::Gprs)] = encodeGprsParams(g);
  LedParams l;
  decodeLedParams(h.records[readCommandOf(ParamGroup::Led)], l);
  l.headerText = gbk("欢迎使用 Quendra 监控主机");
  h.records[readCommandOf(ParamGroup::Led)] = encodeLedParams(l);
}

QString expectedText(const RecordField& field, const FieldValue& value) {
  switch (field.kind) {
    case FieldKind::Text: return QString::fromStdString(gbkToUtf8(std::get<std::string>(value)));
    case FieldKind::Ipv4: return QString::fromStdString(formatDottedAddress(std::get<std::uint32_t>(value)));
    default: return {};
  }
}

// Whether tshark's text shows the value the codecs read.
bool agrees(const RecordField& field, const FieldValue& value, const QString& shown) {
  switch (field.kind) {
    case FieldKind::Unsigned:
    case FieldKind::Hex32: {
      bool ok = false;
      return shown.toULongLong(&ok, 0) == std::get<std::uint32_t>(value) && ok;
    }
    case FieldKind::Real: {
      const float expected = static_cast<float>(std::get<double>(value));
      const float got = std::strtof(shown.toLatin1().constData(), nullptr);
      return got == expected || (std::isnan(got) && std::isnan(expected));
    }
    case FieldKind::Text:
    case FieldKind::Ipv4: return shown == expectedText(field, value);
  }
  return false;
}

}  // namespace

class DissectorAgreementTest : public QObject {
  Q_OBJECT
 private slots:
  void everyRecordFieldAsTheCodecsReadIt() {
    sim::SimOptions options;
    options.hosts = 2;
    FleetTransport transport(options);
    seedAwkwardValues(transport.fleet().hosts()[1]);
    TrafficLog log(transport);
    ReplyRouter router(transport);
    HostSession session(router);
    QSignalSpy finished(&session, &HostSession::finished);

    QSignalSpy answers(&router, &ReplyRouter::searchAnswered);
    router.sendSearch();
    QVERIFY(QTest::qWaitFor([&] { return answers.size() == 2; }));
    std::map<QString, HostConfig> configs;  // by MAC as tshark shows it
    for (const sim::SimHost& host : transport.fleetHosts()) {
      session.setTarget(host.mac);
      for (ParamGroup g : kAllGroups) {
        const qsizetype before = finished.size();
        QVERIFY(!session.read(g));
        QVERIFY(QTest::qWaitFor([&] { return finished.size() > before; }, 10000));
        QVERIFY(session.config().groupKnown(g));
      }
      configs[macText(host.mac)] = session.config();
    }

    QTemporaryDir dir;
    const QString capture = dir.filePath("reads.pcapng");
    QVERIFY(log.writePcapng(capture));
    QProcess tshark;
    tshark.start("tshark", {"-X", "lua_script:" QUENDRA_DISSECTOR, "-r", capture, "-T", "json", "-J", "quendra"});
    QVERIFY2(tshark.waitForFinished(120000), "tshark did not run (scripts/setup installs it)");
    const QByteArray errors = tshark.readAllStandardError();
    QVERIFY2(tshark.exitCode() == 0 && !errors.contains("Lua"), errors.constData());
    const QJsonArray packets = QJsonDocument::fromJson(tshark.readAllStandardOutput()).array();
    QCOMPARE(std::size_t(packets.size()), log.entries().size());

    int records = 0;
    for (qsizetype i = 0; i < packets.size(); ++i) {
      Fields shown;
      collect(packets[i].toObject()["_source"].toObject()["layers"].toObject()["quendra"].toObject(), shown);
      const TrafficEntry& entry = log.entries()[std::size_t(i)];
      const DatagramMeaning m = describeDatagram(entry.datagram.view(), entry.direction);
      QVERIFY2(m.kind != MeaningKind::Malformed, qPrintable(QString("packet %1").arg(i + 1)));
      if (m.kind == MeaningKind::SearchAnswer) {
        QCOMPARE(shown["quendra.search.mac"], macText(m.mac));
        QCOMPARE(shown["quendra.search.ip"], QString::fromStdString(formatDottedAddress(m.search.ip)));
        QCOMPARE(shown["quendra.search.firmware"].toInt(), int(m.search.firmwareVersion));
        QCOMPARE(shown["quendra.search.name"], QString::fromStdString(gbkToUtf8(m.search.nameGbk)));
      } else if (m.kind != MeaningKind::SearchRequest) {
        QCOMPARE(shown["quendra.mac"], macText(m.mac));
      }
      if (m.tunnel) {
        QCOMPARE(shown["quendra.tunnel.command"].toInt(), int(*m.tunnelCommand));
        QCOMPARE(shown["quendra.tunnel.group"].toInt(), int(m.tunnel->group));
        QCOMPARE(shown["quendra.tunnel.record"].toInt(), m.tunnel->index + 1);
        QCOMPARE(shown["quendra.tunnel.write"] == "1", m.tunnel->isWrite);
      }
      if (m.kind == MeaningKind::TunnelDataReply) QCOMPARE(shown["quendra.trailer.version"].toInt(), int(m.hostVersion));
      if (m.kind != MeaningKind::NetworkAnswer && m.kind != MeaningKind::TunnelDataReply) continue;
      const ParamGroup group = m.tunnel ? m.tunnel->group : ParamGroup::Network;
      const int index = m.tunnel ? m.tunnel->index : 0;
      const HostConfig& config = configs.at(macText(m.mac));
      for (const RecordField& field : fieldsOf(group)) {
        const QString name = QString("quendra.%1.%2").arg(kGroupNames[int(group)]).arg(QLatin1String(field.key));
        QVERIFY2(shown.count(name), qPrintable(QString("packet %1 lacks %2").arg(i + 1).arg(name)));
        QVERIFY2(agrees(field, field.get(config, index), shown[name]),
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
