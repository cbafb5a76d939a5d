#include "link/tunnel_frame.h"

#include <array>

#include "link/frame_crc16.h"

namespace quendra {
namespace {

// Start byte, command, payload, trailer, CRC low byte first. The buffer is
// reserved at its final size before the parts go in: GCC 12 reports a false
// -Warray-bounds for a range insert into a vector built from a braced list.
Bytes assembleFrame(std::uint8_t command, ByteView payload, ByteView trailer = {}) {
  Bytes frame;
  frame.reserve(2 + payload.size() + trailer.size() + 2);
  frame.push_back(TunnelFrame::kStartByte);
  frame.push_back(command);
  frame.insert(frame.end(), payload.begin(), payload.end());
  frame.insert(frame.end(), trailer.begin(), trailer.end());
  const std::uint16_t crc = FrameCrc16::compute(frame);
  frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
  frame.push_back(static_cast<std::uint8_t>(crc >> 8));
  return frame;
}

// The CRC and start byte checks shared by requests and replies; the caller
// has checked that the frame holds at least its CRC.
FrameFault checkFrame(ByteView frame) {
  const std::size_t n = frame.size();
  const std::uint16_t crc = static_cast<std::uint16_t>(frame[n - 2] | (frame[n - 1] << 8));
  if (FrameCrc16::compute(frame.first(n - 2)) != crc) return FrameFault::BadCrc;
  if (frame[0] != TunnelFrame::kStartByte) return FrameFault::WrongStartByte;
  return FrameFault::None;
}

}  // namespace

Bytes TunnelFrame::buildRequest(std::uint8_t command, ByteView payload) {
  if (command == 0 || command > 150) return {};
  return assembleFrame(command, payload);
}

TunnelReply TunnelFrame::decodeReply(ByteView block) {
  TunnelReply r;
  const std::size_t n = block.size();
  // A block shorter than its trailer (lengths 3..6 would put it before the block) is dropped like a bad CRC.
  if (n < kTrailerSize) return r;
  r.fault = checkFrame(block);
  if (r.fault != FrameFault::None) return r;
  const std::uint16_t version = static_cast<std::uint16_t>(block[n - 6] * 100 + block[n - 5]);
  r.hostVersion = version;
  if (block[n - 7] != kTrailerMarker || version < kLowestVersion || version > kHighestVersion ||
      block[n - 4] != kTrailerFixed) {
    r.status = ReplyStatus::VersionRefused;
    return r;
  }
  r.status = ReplyStatus::Accepted;
  r.command = block[1];
  if (n > 2 + kTrailerSize) r.payload = block.subspan(2, n - 2 - kTrailerSize);
  return r;
}

TunnelRequest TunnelFrame::decodeRequest(ByteView frame) {
  TunnelRequest r;
  if (frame.size() < 4) return r;  // start byte, command, CRC
  r.fault = checkFrame(frame);
  if (r.fault != FrameFault::None) return r;
  r.command = frame[1];
  r.payload = frame.subspan(2, frame.size() - 4);
  return r;
}

Bytes TunnelFrame::buildReply(std::uint8_t command, ByteView payload, std::uint8_t versionHigh,
                              std::uint8_t versionLow, std::uint8_t spare) {
  const std::array<std::uint8_t, 5> trailer{kTrailerMarker, versionHigh, versionLow, kTrailerFixed, spare};
  return assembleFrame(command, payload, trailer);
}

}  // namespace quendra
