#include "session/local_addresses.h"

#include <QHostAddress>
#include <QNetworkInterface>

namespace quendra {

std::vector<std::uint32_t> localIpv4Addresses() {
  std::vector<std::uint32_t> lan;
  std::vector<std::uint32_t> loopback;
  for (const QNetworkInterface& iface : QNetworkInterface::allInterfaces()) {
    if (!iface.flags().testFlag(QNetworkInterface::IsUp)) continue;
    for (const QNetworkAddressEntry& entry : iface.addressEntries()) {
      const QHostAddress ip = entry.ip();
      if (ip.protocol() != QAbstractSocket::IPv4Protocol) continue;
      (ip.isLoopback() ? loopback : lan).push_back(ip.toIPv4Address());
    }
  }
  lan.insert(lan.end(), loopback.begin(), loopback.end());
  return lan;
}

}  // namespace quendra
