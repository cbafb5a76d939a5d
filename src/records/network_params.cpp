#include "records/network_params.h"

#include <algorithm>

#include "link/gbk.h"

namespace quendra {

std::optional<NetworkParams> NetworkParams::fromRecord(ByteView record) {
  if (record.size() < kSize) return std::nullopt;
  NetworkParams p;
  std::copy_n(record.begin(), kSize, p.bytes.begin());
  return p;
}

std::string NetworkParams::serverAddress(int server) const {
  return readTextArea(ByteView(bytes).subspan(serverAddressOffset(server), kServerAddressArea));
}

bool NetworkParams::setServerAddress(int server, std::string_view gbk) {
  if (gbk.size() > kServerAddressMaxText) return false;
  const std::size_t offset = serverAddressOffset(server);
  std::copy(gbk.begin(), gbk.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
  bytes[offset + gbk.size()] = 0;
  return true;
}

}  // namespace quendra
