#pragma once
// A page alone with what the window would give it: read flags, a selected
// host, the information area, a recording notifier and a send function that
// keeps every datagram. Host replies enter through a real ResponseDispatcher.
#include <QList>
#include <string>

#include "app/info_log.h"
#include "link/outer_frame.h"
#include "link/response_dispatcher.h"
#include "link/tunnel_frame.h"
#include "pages/page_context.h"
#include "support/test_support.h"
#include "support/widget_lookup.h"

namespace quendra::test {

struct PageHarness {
  ReadFlags flags;
  Mac selected{0x02, 0x4B, 0x7D, 0x10, 0x20, 0x30};
  InfoLog infoLog;
  RecordingNotifier notifier;
  QList<Bytes> sent;
  ResponseDispatcher dispatcher;

  PageContext context() {
    PageContext c;
    c.flags = &flags;
    c.selectedDevice = &selected;
    c.infoLog = &infoLog;
    c.notifier = &notifier;
    c.sendToAll = [this](ByteView datagram) { sent.append(Bytes(datagram.begin(), datagram.end())); };
    return c;
  }

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

  // A tunnel reply from a host of version 7.03, as the receive worker hands it on.
  void receive(std::uint8_t command, ByteView payload = {}) {
    const Bytes block = TunnelFrame::buildReply(command, payload, 7, 3);
    Bytes datagram{OuterFrame::kReplyMarker, static_cast<std::uint8_t>(block.size() >> 8),
                   static_cast<std::uint8_t>(block.size() & 0xFF), kTunnel};
    datagram.insert(datagram.end(), selected.begin(), selected.end());
    datagram.insert(datagram.end(), block.begin(), block.end());
    datagram.push_back(0);  // the outer sum of a reply is not examined
    dispatcher.onDeviceDatagram(datagram);
  }
};

// `count` bytes of a byte image from `offset`, for comparing text fields.
inline std::string bytesAt(const Bytes& image, std::size_t offset, std::size_t count) {
  return std::string(image.begin() + offset, image.begin() + offset + count);
}

// A page of type P on a harness, its routes registered.
template <typename P>
struct PageFixture {
  PageHarness h;
  P page{h.context()};
  PageFixture() { page.registerRoutes(h.dispatcher); }
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
