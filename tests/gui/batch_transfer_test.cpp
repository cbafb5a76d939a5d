// The batch sequencer alone, with fake hooks in place of the window and the
// network: a fake host answers on the event loop (or stays silent), and every
// hook call is recorded in one ordered event list.
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <map>

#include "link/batch_transfer.h"

using namespace quendra;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(quendra::BatchKind)

namespace {

struct Fixture {
  ReadFlags flags;
  QStringList events;  // "send N", "progress TEXT", "clear", "append TEXT", "refresh"
  QList<int> sent;
  std::map<int, int> ignoredAttempts;  // command -> attempts left unanswered (-1: all)
  std::function<void(int)> onSend;     // runs after the answer is planned
  bool answerInsideSend = false;
  BatchTransfer batch{flags, hooks()};

  Fixture() {
    for (int k = 0; k < kBatchKindCount; ++k) batch.setAttemptTimeout(static_cast<BatchKind>(k), 30ms);
  }

  BatchTransfer::Hooks hooks() {
    BatchTransfer::Hooks h;
    h.sendRecordRequest = [this](std::uint8_t command) {
      events << QStringLiteral("send %1").arg(command);
      sent << command;
      host(command);
      if (onSend) onSend(command);
    };
    h.showProgress = [this](const QString& t) { events << QStringLiteral("progress ") + t; };
    h.clearInfoLog = [this] { events << QStringLiteral("clear"); };
    h.appendInfoLog = [this](const QString& t) {
      events << QStringLiteral("append ") + t;
      if (t.startsWith(QStringLiteral("通道")) && flags.channelRead) events << QStringLiteral("channelRead still set");
    };
    h.refreshInfoLog = [this] { events << QStringLiteral("refresh"); };
    return h;
  }

  void host(std::uint8_t command) {
    auto ignored = ignoredAttempts.find(command);
    if (ignored != ignoredAttempts.end() && ignored->second != 0) {
      if (ignored->second > 0) --ignored->second;
      return;
    }
    const TunnelCommand c = *classifyTunnelCommand(command);
    if (answerInsideSend)
      batch.markAnswered(c);
    else
      QTimer::singleShot(0, &batch, [this, c] { batch.markAnswered(c); });
  }

  QStringList progress() const {
    QStringList out;
    for (const QString& e : events)
      if (e.startsWith(QStringLiteral("progress "))) out << e.mid(9);
    return out;
  }
  QStringList appended() const {
    QStringList out;
    for (const QString& e : events)
      if (e.startsWith(QStringLiteral("append "))) out << e.mid(7);
    return out;
  }
};

QList<int> range(int first, int last) {
  QList<int> out;
  for (int c = first; c <= last; ++c) out << c;
  return out;
}

}  // namespace

class BatchTransferTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { qRegisterMetaType<BatchKind>(); }

  void promptChannelReadSendsEachChannelOnceInOrder() {
    Fixture f;
    QSignalSpy finished(&f.batch, &BatchTransfer::finished);
    QVERIFY(f.batch.startBatch(BatchKind::ChannelRead));
    QVERIFY(finished.wait(5000));
    QCOMPARE(f.sent, range(5, 36));
    QCOMPARE(f.progress().last(), QStringLiteral("---通道参数读取成功!---"));
    QVERIFY(f.flags.channelRead);
    QCOMPARE(finished.at(0).at(1).toBool(), true);
    QCOMPARE(f.batch.masks().answeredOf(BatchKind::ChannelRead), 0xFFFFFFFFu);
    QCOMPARE(f.batch.masks().pendingOf(BatchKind::ChannelRead), 0u);
    QVERIFY(!f.batch.running());
    // A channel read refreshes InfoLog after each send and empties it after
    // the first request's progress line.
    QCOMPARE(f.events.mid(0, 6), (QStringList{"send 5", "refresh", "progress 正在读取通道1参数", "clear",
                                              "progress 通道1参数读取成功!", "send 6"}));
    QCOMPARE(f.events.count(QStringLiteral("clear")), 1);
    QCOMPARE(f.events.count(QStringLiteral("refresh")), 32);
  }

  void answerDuringTheSendMovesOn() {
    Fixture f;
    f.answerInsideSend = true;
    QSignalSpy finished(&f.batch, &BatchTransfer::finished);
    QVERIFY(f.batch.startBatch(BatchKind::ChannelWrite));
    QVERIFY(finished.wait(5000));
    QCOMPARE(f.sent, range(37, 68));
    QCOMPARE(f.progress().mid(0, 2), (QStringList{"正在写入通道1参数", "通道1参数写入成功!"}));
    QCOMPARE(f.progress().last(), QStringLiteral("---通道参数写入成功!---"));
  }

  void silentChannel5IsTriedFourTimesThenAbandoned() {
    Fixture f;
    f.flags.channelRead = true;  // from an earlier complete read
    f.ignoredAttempts[9] = -1;
    QSignalSpy finished(&f.batch, &BatchTransfer::finished);
    QVERIFY(f.batch.startBatch(BatchKind::ChannelRead));
    QVERIFY(finished.wait(5000));
    QCOMPARE(f.sent, range(5, 8) + QList<int>({9, 9, 9}) + range(9, 36));
    QCOMPARE(f.appended(), QStringList{QStringLiteral("通道5参数读取失败\r\n")});
    QVERIFY(!f.events.contains(QStringLiteral("channelRead still set")));  // cleared at once
    QVERIFY(!f.flags.channelRead);
    QCOMPARE(f.progress().last(), QStringLiteral("通道参数读取失败......"));
    QCOMPARE(finished.at(0).at(1).toBool(), false);
    // the failure line is shown at once
    const int failure = f.events.indexOf(QStringLiteral("append 通道5参数读取失败\r\n"));
    QCOMPARE(f.events.at(failure + 1), QStringLiteral("refresh"));
  }

  void silentChannel1GoesOnWithChannel2() {
    Fixture f;
    f.ignoredAttempts[5] = -1;
    QSignalSpy finished(&f.batch, &BatchTransfer::finished);
    QVERIFY(f.batch.startBatch(BatchKind::ChannelRead));
    QVERIFY(finished.wait(5000));
    QCOMPARE(f.sent, QList<int>({5, 5, 5}) + range(5, 36));
    QCOMPARE(f.appended(), QStringList{QStringLiteral("通道1参数读取失败\r\n")});
  }

  void relayAnsweredOnSecondAttempt() {
    Fixture f;
    f.ignoredAttempts[71] = 1;
    QSignalSpy finished(&f.batch, &BatchTransfer::finished);
    QVERIFY(f.batch.startBatch(BatchKind::RelayRead));
    QVERIFY(finished.wait(5000));
    QCOMPARE(f.sent, QList<int>({69, 70, 71, 71, 72, 73, 74, 75, 76}));
    QVERIFY(f.appended().isEmpty());
    // sent twice, then answered: the same text each time
    QCOMPARE(f.progress().count(QStringLiteral("正在读取继电器3参数")), 3);
    QCOMPARE(f.progress().last(), QStringLiteral("---继电器参数读取成功!---"));
    QVERIFY(f.flags.relayRead);
    // The other kinds empty InfoLog before their first send.
    QCOMPARE(f.events.mid(0, 2), (QStringList{"clear", "send 69"}));
  }

  void incompleteRelayAndModbusReadsLeaveTheirFlags() {
    Fixture f;
    f.flags.relayRead = true;
    f.ignoredAttempts[69] = -1;
    f.ignoredAttempts[85] = -1;
    QSignalSpy finished(&f.batch, &BatchTransfer::finished);
    QVERIFY(f.batch.startBatch(BatchKind::RelayRead));
    QVERIFY(f.batch.startBatch(BatchKind::ModbusRead));
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 5000);
    QVERIFY(f.flags.relayRead);
    QVERIFY(!f.flags.modbusRead);
    QCOMPARE(f.appended(), (QStringList{"读取继电器1参数失败\r\n", "读取ModBus1参数失败\r\n"}));
    QVERIFY(f.progress().contains(QStringLiteral("继电器参数读取失败......")));
    QCOMPARE(f.progress().last(), QStringLiteral("ModBus参数读取失败......"));
  }

  void stopAllLetsTheRecordInHandRunOutThenSkipsTheRest() {
    Fixture f;
    f.ignoredAttempts[79] = -1;  // relay 3 is in hand when the version gate trips
    f.onSend = [&f](int command) {
      if (command == 79) QTimer::singleShot(5, &f.batch, [&f] { f.batch.stopAll(); });
    };
    QSignalSpy finished(&f.batch, &BatchTransfer::finished);
    QVERIFY(f.batch.startBatch(BatchKind::RelayWrite));
    QVERIFY(f.batch.startBatch(BatchKind::ModbusWrite));  // queued, never begins
    QVERIFY(finished.wait(5000));
    QCOMPARE(finished.at(0).at(0).value<BatchKind>(), BatchKind::RelayWrite);
    QCOMPARE(f.sent, QList<int>({77, 78, 79}));
    QVERIFY(f.appended().isEmpty());
    QCOMPARE(f.progress().last(), QStringLiteral("继电器参数写入失败......"));
    QTest::qWait(100);
    QCOMPARE(finished.count(), 1);
    QVERIFY(!f.batch.running());
  }

  void restartWaitsUntilTheStoppedPassHasEnded() {
    Fixture f;
    f.ignoredAttempts[77] = -1;
    f.onSend = [&f](int) {
      f.batch.stopAll();
      QVERIFY(!f.batch.startBatch(BatchKind::RelayWrite));  // its pass still waits out relay 1
    };
    QSignalSpy finished(&f.batch, &BatchTransfer::finished);
    QVERIFY(f.batch.startBatch(BatchKind::RelayWrite));
    QVERIFY(finished.wait(5000));
    f.ignoredAttempts.clear();
    f.onSend = nullptr;
    QVERIFY(f.batch.startBatch(BatchKind::RelayWrite));
    QVERIFY(finished.wait(5000));
    QCOMPARE(f.sent, QList<int>({77}) + range(77, 84));
    QCOMPARE(finished.at(1).at(1).toBool(), true);
  }

  void modbusReadStartedDuringChannelWriteWaitsForItsSummary() {
    Fixture f;
    f.onSend = [&f](int command) {
      if (command == 40) QVERIFY(f.batch.startBatch(BatchKind::ModbusRead));
    };
    QSignalSpy finished(&f.batch, &BatchTransfer::finished);
    QVERIFY(f.batch.startBatch(BatchKind::ChannelWrite));
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 5000);
    QCOMPARE(f.sent, range(37, 68) + range(85, 116));
    const int summary = f.events.indexOf(QStringLiteral("progress ---通道参数写入成功!---"));
    QVERIFY(summary > 0);
    QCOMPARE(f.events.indexOf(QStringLiteral("send 85")), summary + 2);  // after the ModBus pass empties InfoLog
    QCOMPARE(f.progress().last(), QStringLiteral("---ModBus参数读取成功!---"));
    QVERIFY(f.flags.modbusRead);
  }

  void higherKindGoesFirstWhenBothWait() {
    Fixture f;
    f.onSend = [&f](int command) {
      if (command == 117) {  // while a ModBus write runs, a relay and a channel read wait
        QVERIFY(f.batch.startBatch(BatchKind::RelayRead));
        QVERIFY(f.batch.startBatch(BatchKind::ChannelRead));
      }
    };
    QSignalSpy finished(&f.batch, &BatchTransfer::finished);
    QVERIFY(f.batch.startBatch(BatchKind::ModbusWrite));
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 3, 5000);
    QCOMPARE(f.sent, range(117, 148) + range(5, 36) + range(69, 76));
  }

  void secondStartOfARunningKindIsRefused() {
    Fixture f;
    f.ignoredAttempts[5] = -1;
    bool checked = false;
    f.onSend = [&f, &checked](int command) {
      if (command != 5 || checked) return;
      checked = true;
      f.batch.markAnswered({ParamGroup::Channel, false, 20});
      const BatchMasks before = f.batch.masks();
      QVERIFY(!f.batch.startBatch(BatchKind::ChannelRead));
      QCOMPARE(f.batch.masks().pending, before.pending);
      QCOMPARE(f.batch.masks().answered, before.answered);
      QVERIFY(f.batch.startBatch(BatchKind::ChannelWrite));  // another kind is accepted
    };
    QVERIFY(f.batch.startBatch(BatchKind::ChannelRead));
    QTRY_VERIFY(checked);
  }

  void newBatchNeverSeesThePreviousAnswers() {
    Fixture f;
    QSignalSpy finished(&f.batch, &BatchTransfer::finished);
    QVERIFY(f.batch.startBatch(BatchKind::RelayRead));
    QVERIFY(finished.wait(5000));
    QCOMPARE(f.batch.masks().answeredOf(BatchKind::RelayRead), 0xFFu);
    for (int c = 69; c <= 76; ++c) f.ignoredAttempts[c] = -1;  // the host has gone
    QVERIFY(f.batch.startBatch(BatchKind::RelayRead));
    QCOMPARE(f.batch.masks().answeredOf(BatchKind::RelayRead), 0u);
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.at(1).at(1).toBool(), false);
    QCOMPARE(f.sent.size(), 8 + 8 * 4);
    QCOMPARE(f.appended().size(), 8);
  }

  void answeredBitsOnlyForTheKindsOwnCommands() {
    Fixture f;
    const auto answered = [&f] { return f.batch.masks().answered; };
    f.batch.markAnswered(*classifyTunnelCommand(1));    // base read
    f.batch.markAnswered(*classifyTunnelCommand(150));  // LED read
    QCOMPARE(answered(), (std::array<std::uint32_t, kBatchKindCount>{}));
    f.batch.markAnswered({ParamGroup::Relay, false, 8});  // no relay 9
    f.batch.markAnswered({ParamGroup::Channel, true, 32});
    f.batch.markAnswered({ParamGroup::Modbus, false, -1});
    QCOMPARE(answered(), (std::array<std::uint32_t, kBatchKindCount>{}));
    f.batch.markAnswered(*classifyTunnelCommand(40));   // channel 4 write ack
    f.batch.markAnswered(*classifyTunnelCommand(76));   // relay 8 read
    f.batch.markAnswered(*classifyTunnelCommand(148));  // ModBus 32 write ack
    QCOMPARE(answered(), (std::array<std::uint32_t, kBatchKindCount>{0, 1u << 3, 1u << 7, 0, 0, 1u << 31}));
  }

  void lateReplyCompletingTheMaskCountsAsSuccess() {
    Fixture f;
    f.ignoredAttempts[69] = -1;
    f.onSend = [&f](int command) {
      if (command == 70)  // relay 1's answer arrives after it was abandoned
        QTimer::singleShot(0, &f.batch, [&f] { f.batch.markAnswered({ParamGroup::Relay, false, 0}); });
    };
    QSignalSpy finished(&f.batch, &BatchTransfer::finished);
    QVERIFY(f.batch.startBatch(BatchKind::RelayRead));
    QVERIFY(finished.wait(5000));
    QCOMPARE(f.appended(), QStringList{QStringLiteral("读取继电器1参数失败\r\n")});
    QCOMPARE(f.progress().last(), QStringLiteral("---继电器参数读取成功!---"));
    QVERIFY(f.flags.relayRead);
  }
};

QTEST_GUILESS_MAIN(BatchTransferTest)
#include "batch_transfer_test.moc"
