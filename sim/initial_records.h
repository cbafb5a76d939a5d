#pragma once
// The records a simulated host starts with: plausible, distinct values laid
// out as the byte images that travel in tunnel replies (payload offset 0 is
// tunnel-frame offset 2), and the 292-byte network record.
#include <string>

#include "link/bytes.h"

namespace quendra::sim {

// `host` is the host's index (0 for the first host).
Bytes initialNetworkRecord(int host);
Bytes initialBaseRecord(int host);   // 27 bytes
Bytes initialGprsRecord(int host);   // 137 bytes
Bytes initialChannelRecord(int k);   // 104 bytes, channel k = 0..31
Bytes initialRelayRecord(int k);     // 5 bytes, relay k = 0..7
Bytes initialModbusRecord(int k);    // 7 bytes, slot k = 0..31
Bytes initialLedRecord();            // 141 bytes

// The host's IPv4 address (first octet most significant): 192.168.1.10, ...
std::uint32_t hostAddress(int host);
// The host's name as GBK bytes: "模拟主机1", ...
std::string hostNameGbk(int host);

}  // namespace quendra::sim
