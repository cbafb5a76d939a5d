#pragma once
// The PC's IPv4 addresses from the interface list (interfaces that are up):
// non-loopback addresses in interface order first, loopback last, so the PC
// address field shows a LAN address and a simulator on this PC is still found.
#include <cstdint>
#include <vector>

namespace quendra {

std::vector<std::uint32_t> localIpv4Addresses();  // host byte order

}  // namespace quendra
