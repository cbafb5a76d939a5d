// Arbitrary datagrams through the whole reply path: the dispatcher with
// handlers that read every byte they are given (so AddressSanitizer sees any
// view that runs past the datagram), and the outer readers and the tunnel
// decoder on their own.
#include <cstddef>
#include <cstdint>

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
  std::uint8_t x = static_cast<std::uint8_t>(a.ip ^ a.firmwareVersion);
  for (const std::uint8_t b : a.mac) x ^= b;
  for (const char c : a.nameGbk) x ^= static_cast<std::uint8_t>(c);
  sink = x;
}

ResponseDispatcher& dispatcher() {
  static ResponseDispatcher* d = [] {
    auto* r = new ResponseDispatcher;
    const auto payload = [](const TunnelCommand& c, ByteView p) {
      // The dispatcher promises a data reply at least its group's payload.
      if (!c.isWrite && p.size() < payloadSizeOf(c.group)) __builtin_trap();
      touch(p);
    };
    r->onSearchAnswer([](const SearchAnswer& a) { touch(a); });
    r->onNetworkAnswer([](ByteView record) {
      if (record.size() != kNetworkRecordSize) __builtin_trap();
      touch(record);
    });
    for (const ParamGroup g : {ParamGroup::Base, ParamGroup::Gprs, ParamGroup::Channel, ParamGroup::Relay,
                               ParamGroup::Modbus, ParamGroup::Led})
      r->routeGroup(g, payload, payload);
    r->onAnswered(payload);
    r->onVersionRefused([] {});
    r->onDatagramDone([] {});
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
  return 0;
}
