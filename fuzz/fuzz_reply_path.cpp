// Arbitrary datagrams through the whole reply path: the dispatcher with handlers that read every byte they are given
// (so AddressSanitizer sees any view that runs past the datagram), and the outer readers and the tunnel decoder on
// their own; then the request readers and the traffic view's meaning of the datagram, sent and received. The seeds in
// corpus/reply_path are a reply of each kind and near misses, named for what they hold; sim_* are simulated host 1's
// replies to every command.
#include <cstddef>
#include <cstdint>

#include "link/datagram_meaning.h"
#include "link/outer_frame.h"
#include "link/response_dispatcher.h"
#include "link/tunnel_frame.h"

namespace {

using namespace quendra;

volatile std::uint8_t sink;

void touch(ByteView bytes) {
  std::uint8_t x = 0;
  for (const std::uint8_t b : bytes) x ^= b;
  sink = x;
}

void touch(const SearchAnswer& a) {
  touch(a.mac);
  touch(ByteView(reinterpret_cast<const std::uint8_t*>(a.nameGbk.data()), a.nameGbk.size()));
}

ResponseDispatcher& dispatcher() {
  static ResponseDispatcher* d = [] {
    auto* r = new ResponseDispatcher;
    r->onSearchAnswer([](const SearchAnswer& a) { touch(a); });
    r->onNetworkAnswer([](const Mac& from, ByteView record) {
      if (record.size() != kNetworkRecordSize) __builtin_trap();
      touch(from);
      touch(record);
    });
    r->onTunnelReply([](const Mac& from, const TunnelCommand& c, ByteView p) {
      // The dispatcher promises a data reply at least its group's payload.
      if (!c.isWrite && p.size() < payloadSizeOf(c.group)) __builtin_trap();
      touch(from);
      touch(p);
    });
    r->onVersionRefused([](const Mac& from) { touch(from); });
    return r;
  }();
  return *d;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const ByteView datagram(data, size);
  dispatcher().onDeviceDatagram(datagram);

  if (const auto a = OuterFrame::readSearchAnswer(datagram)) touch(*a);
  if (const auto record = OuterFrame::readNetworkAnswer(datagram)) touch(*record);
  if (const auto block = OuterFrame::readTunnelBlock(datagram)) touch(*block);

  // The datagram taken as a bare tunnel block, too.
  const TunnelReply r = TunnelFrame::decodeReply(datagram);
  if (r.status != ReplyStatus::Accepted && (r.command != 0 || !r.payload.empty())) __builtin_trap();
  touch(r.payload);

  touch(OuterFrame::readRequest(datagram).payload);
  touch(TunnelFrame::decodeRequest(datagram).payload);
  for (const Direction direction : {Direction::Sent, Direction::Received}) {
    const DatagramMeaning m = describeDatagram(datagram, direction);
    // A reason exactly for what is dropped.
    if ((m.kind == MeaningKind::Malformed) != (m.reason != MalformedReason::None)) __builtin_trap();
    touch(m.search);
  }
  return 0;
}
