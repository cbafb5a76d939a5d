#pragma once
// UDP on port 1901. Requests are broadcast to 255.255.255.255:1901 once from
// every local IPv4 address (one bound socket per address, at most ten); replies
// are read from the wildcard receive socket and from every send socket (Linux
// hands a unicast reply to the socket bound to exactly that address). Each
// datagram is handed over whole, in arrival order, with the local address that
// heard it. What goes wrong with a socket is reported as a TransportFailure;
// the front end says it in words.
#include <QSocketNotifier>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "session/transport.h"

namespace quendra {

enum class TransportFailure {
  ReceiveSocket,     // the receive socket cannot be created
  ReceiveBroadcast,  // SO_BROADCAST refused on it
  ReceiveReuse,      // SO_REUSEADDR refused on it
  AlreadyBound,      // a local address listed twice
  SendSocket,        // a send socket cannot be created
  SendBroadcast,
  SendReuse,
  SendBind,          // a send socket cannot be bound to its address
  SendFailed,        // a datagram could not be sent from one address
};

class UdpTransport : public Transport {
  Q_OBJECT
 public:
  static constexpr int kSendSlots = 10;
  static constexpr std::size_t kMaxDatagram = 1024;

  // Local IPv4 addresses (host byte order) in the order they are to be served.
  using AddressProvider = std::function<std::vector<std::uint32_t>()>;

  explicit UdpTransport(QObject* parent = nullptr);
  ~UdpTransport() override;

  // Replaces the interface list (tests give fixed lists, also with repeats).
  void setAddressProvider(AddressProvider provider);
  const AddressProvider& addressProvider() const { return addresses_; }

  // Creates and binds the receive socket (0.0.0.0:1901); no send socket yet.
  void openLink();
  // Closes the send sockets and binds one per current local address.
  void refreshInterfaces() override;
  // Sends the datagram through every bound send socket, entry 0 first.
  int sendToAll(ByteView datagram) override;
  // Closes every socket.
  void closeLink();

  // The addresses (host byte order) of the bound send sockets, table order.
  std::vector<std::uint32_t> boundAddresses() const;
  bool receiveSocketOpen() const { return receiveFd_ >= 0; }

 signals:
  // Reported where it happens; the operation goes on with the next address.
  void failed(TransportFailure failure);

 private:
  struct SendSlot {
    std::uint32_t address = 0;  // host byte order
    int fd = -1;
    bool bound = false;
    std::unique_ptr<QSocketNotifier> readable;
  };

  void readAll(int fd, std::uint32_t boundAddress);
  std::unique_ptr<QSocketNotifier> watch(int fd, std::uint32_t boundAddress);
  void closeSendSockets();
  void closeReceiveSocket();

  AddressProvider addresses_;
  int receiveFd_ = -1;
  std::unique_ptr<QSocketNotifier> receiveReadable_;
  std::array<SendSlot, kSendSlots> slots_;
  unsigned generation_ = 0;  // changes whenever a socket is closed
};

}  // namespace quendra
