#pragma once
// A page of a batch group (relays, ModBus slots) alone with what the window
// would give it: flags, a selected host, InfoLog, a recording notifier, a
// real BatchTransfer and the dispatcher. Sent datagrams are captured; a test
// host answers them (or not) on the event loop, as the network would.
#include <QList>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>
#include <optional>

#include "app/info_log.h"
#include "link/batch_transfer.h"
#include "link/response_dispatcher.h"
#include "link/tunnel_frame.h"
#include "pages/page_context.h"
#include "support/test_support.h"

namespace quendra::test {

// The tunnel reply datagram a host sends: 55, block length, 0A, MAC, block, sum.
inline Bytes tunnelReplyDatagram(const Mac& mac, const Bytes& block) {
  Bytes d{OuterFrame::kReplyMarker, static_cast<std::uint8_t>(block.size() >> 8),
          static_cast<std::uint8_t>(block.size() & 0xFF), kTunnel};
  d.insert(d.end(), mac.begin(), mac.end());
  d.insert(d.end(), block.begin(), block.end());
  d.push_back(OuterFrame::frameSum(d));
  return d;
}

struct BatchPageHarness {
  // What the test host answers to one tunnel request (the whole tunnel frame
  // sent, 7E command payload CRC); nullopt stays silent.
  using Host = std::function<std::optional<Bytes>(const Bytes& tunnelFrame)>;

  ReadFlags flags;
  Mac mac{0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
  InfoLog log;
  RecordingNotifier notifier;
  QList<Bytes> tunnelFramesSent;
  QStringList progress;
  int waitBoxes = 0;
  std::function<Bytes(int)> recordPayload;  // the page's
  Host host;

  ResponseDispatcher dispatcher;
  BatchTransfer batch{flags, hooks()};
  PageContext context{&flags, &mac, &log, &notifier, [this](ByteView d) { onSent(d); }, &batch,
                      [this] { ++waitBoxes; }};

  BatchPageHarness() {
    dispatcher.onAnswered([this](const TunnelCommand& c, ByteView) { batch.markAnswered(c); });
    dispatcher.onVersionRefused([this] { batch.stopAll(); });
  }

  BatchTransfer::Hooks hooks() {
    BatchTransfer::Hooks h;
    h.sendRecordRequest = [this](std::uint8_t command) {
      const auto c = classifyTunnelCommand(command);
      const Bytes payload = c && c->isWrite && recordPayload ? recordPayload(c->index) : Bytes{};
      sendTunnelRequest(context, command, payload);
    };
    h.showProgress = [this](const QString& t) { progress << t; };
    h.clearInfoLog = [this] { log.clear(); };
    h.appendInfoLog = [this](const QString& t) { log.append(t); };
    h.refreshInfoLog = [this] { log.refresh(); };
    return h;
  }

  void onSent(ByteView datagram) {
    // AA, length, 0A, MAC, tunnel frame, sum.
    if (datagram.size() < 12 || datagram[3] != kTunnel) return;
    const Bytes frame(datagram.begin() + 10, datagram.end() - 1);
    tunnelFramesSent.append(frame);
    if (!host) return;
    if (auto block = host(frame)) deliverLater(*block);
  }

  void deliverLater(const Bytes& block) {
    const Bytes d = tunnelReplyDatagram(mac, block);
    QTimer::singleShot(0, &batch, [this, d] { dispatcher.onDeviceDatagram(d); });
  }
  void deliver(const Bytes& block) { dispatcher.onDeviceDatagram(tunnelReplyDatagram(mac, block)); }

  QList<int> commandsSent() const {
    QList<int> out;
    for (const Bytes& f : tunnelFramesSent) out << f[1];
    return out;
  }
};

// A host of version 7.03 that answers reads with `reply(index)` and acks writes.
inline std::optional<Bytes> answerFrom(const Bytes& frame, const std::function<Bytes(TunnelCommand)>& reply) {
  const auto c = classifyTunnelCommand(frame[1]);
  if (!c) return std::nullopt;
  return TunnelFrame::buildReply(frame[1], c->isWrite ? Bytes{} : reply(*c), 7, 3);
}

// A batch page of type P for group G on a harness: routes registered, its
// record payloads wired into writes, and the group taken as read.
template <typename P, ParamGroup G>
struct BatchPageFixture {
  BatchPageHarness h;
  P page{h.context};

  BatchPageFixture() {
    page.registerRoutes(h.dispatcher);
    h.recordPayload = [this](int k) { return page.recordPayload(k); };
    h.flags.networkRead = true;
  }

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
    QSignalSpy finished(&h.batch, &BatchTransfer::finished);
    QTest::mouseClick(button(buttonText), Qt::LeftButton);
    return finished.wait(20000);
  }
  // The tunnel frame that wrote record k, empty when none was sent.
  Bytes writtenFrame(int k) const {
    for (const Bytes& f : h.tunnelFramesSent)
      if (f[1] == writeCommandOf(G, k)) return f;
    return {};
  }
  Bytes writtenPayload(int k) const {
    const Bytes f = writtenFrame(k);
    return f.empty() ? Bytes{} : Bytes(f.begin() + 2, f.end() - 2);
  }
};

}  // namespace quendra::test
