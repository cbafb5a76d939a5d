#pragma once
// A page of a batch group (channels, relays, ModBus slots) alone with what the
// window would give it: a host session whose batches a test host answers (or
// not) on the event loop, as the network would, the information area, the wait
// box's progress line and a recording notifier.
#include <QList>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <chrono>
#include <functional>
#include <optional>

#include "app/batch_progress.h"
#include "link/tunnel_frame.h"
#include "pages/info_log.h"
#include "pages/page_context.h"
#include "session/reply_router.h"
#include "support/fleet_transport.h"
#include "support/page_harness.h"
#include "support/test_support.h"

namespace quendra::test {

struct BatchPageHarness {
  // What the test host answers to one tunnel request (the whole tunnel frame
  // sent, 7E command payload CRC); nullopt stays silent.
  using Host = std::function<std::optional<Bytes>(const Bytes& tunnelFrame)>;

  FleetTransport transport{noHosts()};
  ReplyRouter router{transport};
  HostSession session{router};
  ReadFlags& flags = session.flagsForTesting();
  Mac mac{0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
  InfoLog log;
  RecordingNotifier notifier;
  QStringList progress;
  int waitBoxes = 0;
  Host host;
  BatchProgress words{log, [this](const QString& t) { progress << t; }};
  PageContext context{&session, &log, &notifier, [this] { ++waitBoxes; }};

  // The session's batches, as the tests steer them.
  struct Batches {
    HostSession& session;
    void setAttemptTimeout(BatchKind kind, std::chrono::milliseconds timeout) {
      SessionPolicy p = session.policy();
      (isWriteKind(kind) ? p.writeOf(groupOf(kind)) : p.readOf(groupOf(kind))).timeout = timeout;
      session.setPolicy(p);
    }
    bool running() const { return session.batches().running(); }
  } batch{session};

  BatchPageHarness() {
    session.setTarget(mac);
    QObject::connect(&session, &HostSession::batchEvent, &words, &BatchProgress::show);
    transport.responder = [this](ByteView datagram) {
      std::vector<Bytes> replies;
      // AA, length, 0A, MAC, tunnel frame, sum.
      if (datagram.size() < 12 || datagram[3] != kTunnel || !host) return replies;
      if (auto block = host(Bytes(datagram.begin() + 10, datagram.end() - 1)))
        replies.push_back(OuterFrame::buildTunnelReply(mac, *block));
      return replies;
    };
  }

  QList<Bytes> tunnelFramesSent() const {
    QList<Bytes> out;
    for (const Bytes& d : transport.requests())
      if (d.size() >= 12 && d[3] == kTunnel) out.append(Bytes(d.begin() + 10, d.end() - 1));
    return out;
  }
  void deliver(const Bytes& block) { transport.deliverNow(OuterFrame::buildTunnelReply(mac, block)); }

  QList<int> commandsSent() const {
    QList<int> out;
    for (const Bytes& f : tunnelFramesSent()) out << f[1];
    return out;
  }
};

// A host of version 7.03 that answers reads with `reply(index)` and acks writes.
inline std::optional<Bytes> answerFrom(const Bytes& frame, const std::function<Bytes(TunnelCommand)>& reply) {
  const auto c = classifyTunnelCommand(frame[1]);
  if (!c) return std::nullopt;
  return TunnelFrame::buildReply(frame[1], c->isWrite ? Bytes{} : reply(*c), 7, 3);
}

// A batch page of type P for group G on a harness, the network settings taken as read.
template <typename P, ParamGroup G>
struct BatchPageFixture {
  BatchPageHarness h;
  P page{h.context};

  BatchPageFixture() { h.flags.networkRead = true; }

  QPushButton* button(const QString& text) {
    for (auto* b : page.template findChildren<QPushButton*>())
      if (b->text() == text) return b;
    return nullptr;
  }
  // The host's read reply for record k.
  void reply(int k, const Bytes& payload) {
    h.deliver(TunnelFrame::buildReply(readCommandOf(G, k), payload, 7, 3));
  }
  // Presses the button and runs the batch it starts to its summary.
  bool runBatch(const QString& buttonText) {
    QSignalSpy finished(&h.session, &HostSession::finished);
    QTest::mouseClick(button(buttonText), Qt::LeftButton);
    return finished.wait(20000);
  }
  // The tunnel frame that wrote record k, empty when none was sent.
  Bytes writtenFrame(int k) const {
    for (const Bytes& f : h.tunnelFramesSent())
      if (f[1] == writeCommandOf(G, k)) return f;
    return {};
  }
  Bytes writtenPayload(int k) const {
    const Bytes f = writtenFrame(k);
    return f.empty() ? Bytes{} : Bytes(f.begin() + 2, f.end() - 2);
  }
};

}  // namespace quendra::test
