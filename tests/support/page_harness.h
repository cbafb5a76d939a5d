#pragma once
// A page alone with what the window would give it: a host session on a
// transport that keeps every datagram sent, the information area and a
// recording notifier. Host replies arrive through the real reply router.
#include <QList>
#include <string>

#include "link/outer_frame.h"
#include "link/tunnel_frame.h"
#include "pages/info_log.h"
#include "pages/page_context.h"
#include "session/reply_router.h"
#include "support/fleet_transport.h"
#include "support/test_support.h"
#include "support/widget_lookup.h"

namespace quendra::test {

inline sim::SimOptions noHosts() {
  sim::SimOptions o;
  o.hosts = 0;
  return o;
}

struct PageHarness {
  FleetTransport transport{noHosts()};
  ReplyRouter router{transport};
  HostSession session{router};
  ReadFlags& flags = session.flagsForTesting();
  const Mac selected;
  InfoLog infoLog;
  RecordingNotifier notifier;
  const QList<Bytes>& sent = transport.requests();

  explicit PageHarness(const Mac& host = Mac{0x02, 0x4B, 0x7D, 0x10, 0x20, 0x30}) : selected(host) {
    session.setTarget(selected);
  }

  PageContext context() { return PageContext{&session, &infoLog, &notifier, {}}; }

  // The tunnel frame of a sent datagram: after the 10-byte outer header
  // (AA, length, command 10, the selected MAC), before the outer sum.
  // Empty when the datagram is not a tunnel request to the selected host.
  Bytes tunnelFrame(const Bytes& datagram) const {
    if (datagram.size() < 11 || datagram[0] != 0xAA || datagram[3] != kTunnel) return {};
    if (!std::equal(selected.begin(), selected.end(), datagram.begin() + 4)) return {};
    return Bytes(datagram.begin() + 10, datagram.end() - 1);
  }
  // The payload of the last tunnel request (between command byte and CRC).
  Bytes lastPayload() const {
    const Bytes frame = sent.isEmpty() ? Bytes{} : tunnelFrame(sent.last());
    return frame.size() < 4 ? Bytes{} : Bytes(frame.begin() + 2, frame.end() - 2);
  }

  // A tunnel reply from the selected host of version 7.03, handed over now.
  void receive(std::uint8_t command, ByteView payload = {}) {
    transport.deliverNow(OuterFrame::buildTunnelReply(selected, TunnelFrame::buildReply(command, payload, 7, 3)));
  }
};

// `count` bytes of a byte image from `offset`, for comparing text fields.
inline std::string bytesAt(const Bytes& image, std::size_t offset, std::size_t count) {
  return std::string(image.begin() + offset, image.begin() + offset + count);
}

// A page of type P on a harness.
template <typename P>
struct PageFixture {
  PageHarness h;
  P page{h.context()};
  // The page after a read reply of `command` carrying `image`.
  void readReply(std::uint8_t command, const Bytes& image) {
    h.flags.networkRead = true;
    h.receive(command, image);
  }
  const RecordingNotifier::Notice& onlyNotice() const {
    if (h.notifier.notices.size() != 1) qFatal("expected one notice, got %d", int(h.notifier.notices.size()));
    return h.notifier.notices[0];
  }
};

}  // namespace quendra::test
