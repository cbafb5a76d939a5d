#pragma once
// A page alone with what the window would give it: a host session (support/session_harness) on a transport that keeps every datagram sent,
// whose replies a test delivers or a scripted host answers on the event loop, as the network would; the information
// area, a recording notifier and a count of wait boxes opened. Pages tests link quendra_pages and test_fleet.
#include <QList>
#include <QTemporaryDir>
#include <functional>
#include <optional>

#include "link/tunnel_frame.h"
#include "pages/info_log.h"
#include "pages/page_context.h"
#include "pages/page_writer.h"
#include "sim/initial_records.h"
#include "support/session_harness.h"
#include "support/widgets.h"

namespace quendra::test {

struct PageHarness : SessionHarness {
  const Mac selected;
  InfoLog infoLog;
  RecordingNotifier notifier;
  const QList<Bytes>& sent = transport.requests();
  int waitBoxes = 0;
  // What the scripted host answers to one tunnel request to the selected host; nullopt stays silent.
  std::function<std::optional<Bytes>(const SentRequest&)> host;
  QTemporaryDir historyDir;  // where the writes keep what the host held
  HistoryStore history{historyDir.path()};
  PageWriter writer{session, infoLog, history, [this] { return HostIdentity{selected, {}, 0, 0}; }};
  PageContext context{&session, &infoLog, &notifier, [this] { ++waitBoxes; }, {}, &writer};

  explicit PageHarness(const Mac& mac = Mac{0x02, 0x4B, 0x7D, 0x10, 0x20, 0x30})
      : SessionHarness(sim::SimOptions{.hosts = 0}), selected(mac) {
    session.setTarget(selected);
    transport.responder = [this](ByteView datagram) {
      std::vector<Bytes> replies;
      const SentRequest r = readSent(datagram);
      if (r.tunnelCommand && r.target == selected && host)
        if (auto block = host(r)) replies.push_back(OuterFrame::buildTunnelReply(selected, *block));
      return replies;
    };
  }

  // The network settings read, as every page's read needs them; the read's request is forgotten.
  void readNetwork() {
    session.read(ParamGroup::Network);
    transport.deliverNow(OuterFrame::buildNetworkAnswer(selected, sim::initialNetworkRecord(0)));
    transport.clearRequests();
  }
  // The tunnel requests sent to the selected host, in order.
  QList<SentRequest> tunnelRequestsSent() const {
    QList<SentRequest> out;
    for (const Bytes& d : sent)
      if (const SentRequest r = readSent(d); r.tunnelCommand && r.target == selected) out.append(r);
    return out;
  }
  // The payload of the last tunnel request (between command byte and CRC).
  Bytes lastPayload() const { return sent.isEmpty() ? Bytes{} : readSent(sent.last()).tunnelPayload; }
  // A tunnel reply from the selected host of version 7.03, handed over now.
  void receive(std::uint8_t command, ByteView payload = {}) { deliver(TunnelFrame::buildReply(command, payload, 7, 3)); }
  void deliver(const Bytes& block) { transport.deliverNow(OuterFrame::buildTunnelReply(selected, block)); }
};

// A host of version 7.03 that answers reads with `reply(command)` and acknowledges writes.
inline std::optional<Bytes> answerFrom(const SentRequest& request, const std::function<Bytes(TunnelCommand)>& reply) {
  const auto c = classifyTunnelCommand(std::uint8_t(request.tunnelCommand));
  if (!c) return std::nullopt;
  return TunnelFrame::buildReply(std::uint8_t(request.tunnelCommand), c->isWrite ? Bytes{} : reply(*c), 7, 3);
}

}  // namespace quendra::test
