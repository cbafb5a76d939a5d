// What the search answers say about each other: two hosts on one address (an address given twice while
// commissioning) and one host heard with two addresses (a host whose address changed during the search, or a
// network that answers for it twice). The device list and quendra-cli search mark both.
#include <QTest>

#include "session/host_finder.h"

using namespace quendra;

namespace {

FoundHost heard(std::uint8_t macEnd, std::uint32_t ip, std::uint32_t localAddress = 0xC0A80101) {
  return {SearchAnswer{ip, Mac{2, 0x4B, 0x7D, 0, 0, macEnd}, 710, "h"}, localAddress};
}

}  // namespace

class HostFinderTest : public QObject {
  Q_OBJECT

 private slots:
  void conflictsNameWhatIsWrongWithEachHost() {
    constexpr std::uint32_t a = 0xC0A8010A, b = 0xC0A8010B;
    struct Case {
      const char* what;
      std::vector<FoundHost> found;
      std::vector<std::pair<bool, bool>> expected;  // per host: shared address, two addresses
    } cases[] = {
        {"hosts on their own addresses", {heard(1, a), heard(2, b)}, {{false, false}, {false, false}}},
        {"two hosts on one address", {heard(1, a), heard(2, a)}, {{true, false}, {true, false}}},
        {"one host with two addresses", {heard(1, a), heard(1, b), heard(2, 0xC0A8010C)},
         {{false, true}, {false, true}, {false, false}}},
        // A host heard by two of this computer's interfaces is one host on one address.
        {"one host heard twice", {heard(1, a, 0xC0A80101), heard(1, a, 0x0A000001)}, {{false, false}, {false, false}}},
        {"both at once", {heard(1, a), heard(1, b), heard(2, b)}, {{false, true}, {true, true}, {true, false}}},
    };
    for (const Case& c : cases) {
      for (std::size_t i = 0; i < c.found.size(); ++i) {
        const HostConflicts got = conflictsOf(c.found[i], c.found);
        QVERIFY2(got.sharedAddress == c.expected[i].first && got.twoAddresses == c.expected[i].second,
                 qPrintable(QStringLiteral("%1, host %2").arg(c.what).arg(i)));
        QCOMPARE(got.any(), c.expected[i].first || c.expected[i].second);
      }
    }
  }

  void eachHostIsListedOnceAsFirstHeard() {
    const std::vector<FoundHost> hosts =
        distinctHosts({heard(1, 0xC0A8010A, 1), heard(2, 0xC0A8010B), heard(1, 0xC0A8010A, 2), heard(1, 0xC0A8010C)});
    QCOMPARE(hosts.size(), std::size_t{2});
    QCOMPARE(hosts[0].answer.mac[5], 1);
    QCOMPARE(hosts[0].localAddress, 1u);
    QCOMPARE(hosts[1].answer.mac[5], 2);
  }
};

QTEST_GUILESS_MAIN(HostFinderTest)
#include "host_finder_test.moc"
