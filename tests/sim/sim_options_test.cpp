// The simulator's faults as its command line asks for them, one row each: parsed from argv as quendra-hostsim takes
// it, then acting on one host's requests (the host logic its socket serves; the delay through the in-process
// transport, which takes it from the same options); a request a host cannot take gets no answer and changes nothing.
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include "link/datagram_meaning.h"
#include "link/tunnel_frame.h"
#include "support/fleet_transport.h"

using namespace quendra;
using namespace quendra::test;

class SimOptionsTest : public QObject {
  Q_OBJECT
 private slots:
  void eachFaultIsAcceptedAndActs() {
    const std::pair<std::vector<std::string>, QString> rows[] = {
        // the tunnel reads sent to host 1, and what it answers to each: "-" nothing, else command and version
        {{}, "5:5 v710, 71:71 v710"},
        {{"--late", "71:2,9:3"}, "71:-, 71:71 v710, 71:71 v710, 9:-, 9:-, 9:9 v710"},
        {{"--silent=9,150"}, "9:-, 150:-, 10:10 v710, 9:-"},
        {{"--drop", "100"}, "5:-, 5:-, 150:-"},
        {{"--trailer-version", "7.2"}, "150:refused 702, 5:refused 702"},
        {{"--trailer-version=9.99", "--hosts", "2"}, "150:150 v999"},
        {{"--delay", "60"}, "5:5 v710"},
        {{"--stop-after", "2"}, "5:5 v710, 71:71 v710, 5:-, 150:-"},
    };
    for (const auto& [args, expected] : rows) {
      std::string error;
      const auto options = sim::parseOptions(args, error);
      QVERIFY2(options, error.c_str());
      FleetTransport transport(*options);
      QStringList answers;
      for (const QString& step : expected.split(QStringLiteral(", "))) {
        const auto command = static_cast<std::uint8_t>(step.section(':', 0, 0).toInt());
        const auto replies = transport.fleet().handle(OuterFrame::buildTunnelRequest(sim::hostMac(0), TunnelFrame::buildRequest(command)));
        const DatagramMeaning m = describeDatagram(replies.empty() ? Bytes{} : replies[0], Direction::Received);
        answers << QString::number(command) + ':' +
                       (replies.empty() ? QStringLiteral("-")
                        : m.kind == MeaningKind::VersionRefused ? QStringLiteral("refused %1").arg(m.hostVersion)
                                                                : QStringLiteral("%1 v%2").arg(*m.tunnelCommand).arg(m.hostVersion));
      }
      QCOMPARE(answers.join(QStringLiteral(", ")), expected);
      // The delay is the transport's: a reply arrives no sooner.
      QSignalSpy received(&transport, &Transport::received);
      QElapsedTimer clock;
      clock.start();
      transport.sendToAll(OuterFrame::buildSearchRequest());
      if (options->dropPercent < 100 && options->stopAfter == 0) QVERIFY(received.wait(5000) && clock.elapsed() >= options->delayMs);
    }
  }

  void aRequestAHostCannotTakeGetsNoAnswer() {
    sim::HostFleet fleet(sim::SimOptions{.hosts = 2});
    const Mac mac = sim::hostMac(1);
    const auto tunnel = [&](int command, const Bytes& payload) {
      return OuterFrame::buildTunnelRequest(mac, TunnelFrame::buildRequest(static_cast<std::uint8_t>(command), payload));
    };
    Bytes badSum = OuterFrame::buildReadNetworkRequest(mac);
    badSum.back() ^= 1;
    const std::vector<sim::SimHost> before = fleet.hosts();
    for (const Bytes& d : {tunnel(2, Bytes(26)), tunnel(1, Bytes{1}), OuterFrame::buildTunnelRequest(mac, Bytes{0x7E, 1, 0, 0}),
                           badSum, OuterFrame::buildRequest(9, mac, {}), OuterFrame::buildReadNetworkRequest(sim::hostMac(2)),
                           OuterFrame::buildRequest(kWriteMac, mac, Bytes{1}), OuterFrame::buildRequest(kWriteNetwork, mac, Bytes(291))})
      QVERIFY(fleet.handle(d).empty());
    const sim::SimHost& host = fleet.hosts()[1];
    QVERIFY(host.records == before[1].records && host.network == before[1].network && host.mac == mac);
    QCOMPARE(fleet.handle(tunnel(2, Bytes(27))).size(), std::size_t{1});  // the same write, whole: taken
    QCOMPARE(host.records.at(1), Bytes(27));
  }
};

QTEST_GUILESS_MAIN(SimOptionsTest)
#include "sim_options_test.moc"
