#pragma once
// How datagrams reach the hosts: every request is sent to all hosts of the LAN
// (the host it is meant for is named inside the frame), and every datagram
// that arrives is handed on whole, in arrival order, with the local address
// that heard it. The UDP transport broadcasts on port 1901; tests and
// benchmarks put simulated hosts behind the same interface.
#include <QByteArray>
#include <QObject>
#include <cstdint>

#include "link/bytes.h"

namespace quendra {

struct Datagram {
  QByteArray bytes;
  std::uint32_t localAddress = 0;  // the PC address it left from or arrived at (host byte order)
  std::uint32_t peerAddress = 0;   // the other end (255.255.255.255 for a broadcast sent)
  std::uint16_t peerPort = 0;

  ByteView view() const {
    return ByteView(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size()));
  }
};

class Transport : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;

  // Takes the PC's current addresses before a search (the UDP transport
  // rebinds its send sockets).
  virtual void refreshInterfaces() {}
  // Sends the datagram to every host; returns how many sends succeeded.
  virtual int sendToAll(ByteView datagram) = 0;

 signals:
  void received(const Datagram& datagram);
  // One per local address the datagram left from.
  void sent(const Datagram& datagram);
};

}  // namespace quendra
