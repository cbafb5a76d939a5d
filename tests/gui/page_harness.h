#pragma once
// A page alone with what the window would give it: a host session on a transport that keeps every datagram sent,
// whose replies a test delivers or a scripted host answers on the event loop, as the network would; the information
// area, a recording notifier and a count of wait boxes opened.
#include <QList>
#include <QSignalSpy>
#include <functional>
#include <optional>

#include "link/tunnel_frame.h"
#include "pages/info_log.h"
#include "pages/page_context.h"
#include "session/reply_router.h"
#include "support/fleet_transport.h"
#include "support/test_support.h"

namespace quendra::test {

struct PageHarness {
  FleetTransport transport{sim::SimOptions{.hosts = 0}};
  ReplyRouter router{transport};
  HostSession session{router};
  ReadFlags& flags = session.flagsForTesting();
  const Mac selected;
  InfoLog infoLog;
  RecordingNotifier notifier;
  const QList<Bytes>& sent = transport.requests();
  int waitBoxes = 0;
  // What the scripted host answers to one tunnel request (the whole tunnel frame sent, 7E command payload CRC);
  // nullopt stays silent.
  std::function<std::optional<Bytes>(const Bytes& tunnelFrame)> host;
  PageContext context{&session, &infoLog, &notifier, [this] { ++waitBoxes; }};

  explicit PageHarness(const Mac& mac = Mac{0x02, 0x4B, 0x7D, 0x10, 0x20, 0x30}) : selected(mac) {
    session.setTarget(selected);
    transport.responder = [this](ByteView datagram) {
      std::vector<Bytes> replies;
      if (datagram.size() < 12 || datagram[3] != kTunnel || !host) return replies;
      if (auto block = host(tunnelFrame(Bytes(datagram.begin(), datagram.end()))))
        replies.push_back(OuterFrame::buildTunnelReply(selected, *block));
      return replies;
    };
  }

  // The tunnel frame of a sent datagram (after AA, length, 0A and the MAC, before the sum); empty when it is not a
  // tunnel request to the selected host.
  Bytes tunnelFrame(const Bytes& d) const {
    if (d.size() < 11 || d[0] != 0xAA || d[3] != kTunnel || !std::equal(selected.begin(), selected.end(), d.begin() + 4))
      return {};
    return Bytes(d.begin() + 10, d.end() - 1);
  }
  QList<Bytes> tunnelFramesSent() const {
    QList<Bytes> out;
    for (const Bytes& d : sent)
      if (const Bytes f = tunnelFrame(d); !f.empty()) out.append(f);
    return out;
  }
  // The payload of the last tunnel request (between command byte and CRC).
  Bytes lastPayload() const {
    const Bytes frame = sent.isEmpty() ? Bytes{} : tunnelFrame(sent.last());
    return frame.size() < 4 ? Bytes{} : Bytes(frame.begin() + 2, frame.end() - 2);
  }
  // A tunnel reply from the selected host of version 7.03, handed over now.
  void receive(std::uint8_t command, ByteView payload = {}) { deliver(TunnelFrame::buildReply(command, payload, 7, 3)); }
  void deliver(const Bytes& block) { transport.deliverNow(OuterFrame::buildTunnelReply(selected, block)); }
};

// A host of version 7.03 that answers reads with `reply(command)` and acknowledges writes.
inline std::optional<Bytes> answerFrom(const Bytes& frame, const std::function<Bytes(TunnelCommand)>& reply) {
  const auto c = classifyTunnelCommand(frame[1]);
  if (!c) return std::nullopt;
  return TunnelFrame::buildReply(frame[1], c->isWrite ? Bytes{} : reply(*c), 7, 3);
}

}  // namespace quendra::test
