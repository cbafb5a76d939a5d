#pragma once
// A page alone with what the window would give it: read flags, a selected
// host, the information area, a recording notifier and a send function that
// keeps every datagram. Host replies enter through a real ResponseDispatcher.
#include <QList>

#include "app/info_log.h"
#include "link/outer_frame.h"
#include "link/response_dispatcher.h"
#include "link/tunnel_frame.h"
#include "pages/page_context.h"
#include "support/test_support.h"

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

}  // namespace quendra::test
