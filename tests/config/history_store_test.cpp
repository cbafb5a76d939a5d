// The history kept before writes: one file per save in a folder per host, named by its time and the groups it holds,
// listed newest first, the newest 200 kept; a file holds only what the state knew; a save without a host or with
// nothing known is refused.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "config/history_store.h"

using namespace quendra;

namespace {

const Mac kHost{0x02, 0x4B, 0x7D, 0x00, 0x00, 0x01};

RecordMasks masks(std::initializer_list<std::pair<ParamGroup, std::uint32_t>> records) {
  RecordMasks m{};
  for (const auto& [g, bits] : records) m[int(g)] = bits;
  return m;
}

}  // namespace

class HistoryStoreTest : public QObject {
  Q_OBJECT
 private slots:
  void savesListsAndKeepsTheNewest() {
    QTemporaryDir dir;
    HistoryStore store(dir.path());
    HostConfig state;  // knows the base record and relay 3
    Bytes base = encodeRecord(state, ParamGroup::Base), relay = encodeRecord(state, ParamGroup::Relay, 2);
    base[1] = 0x4D, relay[1] = 90;
    QVERIFY(decodeRecord(state, ParamGroup::Base, 0, base) && decodeRecord(state, ParamGroup::Relay, 2, relay));
    ConfigFileHeader header{"test", QDateTime(QDate(2026, 12, 7), QTime(9, 30, 0, 5), Qt::UTC), HostIdentity{kHost, {}, 0, 0}};
    QVERIFY(!store.save(state, allRecordMasks(), ConfigFileHeader{}));                           // no host
    QVERIFY(!store.save(state, masks({{ParamGroup::Gprs, 1}, {ParamGroup::Relay, 1}}), header));  // none known
    QVERIFY(QDir().mkpath(dir.filePath("024B7D000001/20261207-093000-005_base-relays.json")));  // in the way
    QVERIFY(!store.save(state, allRecordMasks(), header));
    QVERIFY(QDir(dir.filePath("024B7D000001")).removeRecursively() && store.save(state, allRecordMasks(), header));

    std::vector<HistoryStore::Entry> entries = store.entries(kHost);
    QCOMPARE(entries.size(), std::size_t{1});
    QCOMPARE(entries[0].path, dir.filePath("024B7D000001/20261207-093000-005_base-relays.json"));
    QCOMPARE(entries[0].savedAt, header.savedAt);
    QVERIFY(entries[0].records == masks({{ParamGroup::Base, 1}, {ParamGroup::Relay, 0xFF}}));
    const ConfigFile file = std::get<ConfigFile>(readConfigFile(entries[0].path));
    QVERIFY(file.present() == masks({{ParamGroup::Base, 1}, {ParamGroup::Relay, 0b100}}));
    const HostConfig back = applyConfigFile(file, HostConfig{});
    QCOMPARE(encodeRecord(back, ParamGroup::Base), base);
    QCOMPARE(encodeRecord(back, ParamGroup::Relay, 2), relay);
    QVERIFY(store.entries(Mac{0x02, 0x4B, 0x7D, 0x00, 0x00, 0x02}).empty());

    const QDateTime first = header.savedAt;
    for (int i = 0; i < HistoryStore::kKeep; ++i) {  // 201 in all: the oldest goes
      header.savedAt = header.savedAt.addSecs(1);
      QVERIFY(store.save(state, masks({{ParamGroup::Base, 1}}), header));
    }
    entries = store.entries(kHost);
    QCOMPARE(int(entries.size()), HistoryStore::kKeep);
    QCOMPARE(entries.front().savedAt, header.savedAt);
    QCOMPARE(entries.back().savedAt, first.addSecs(1));
  }
};

QTEST_GUILESS_MAIN(HistoryStoreTest)
#include "history_store_test.moc"
