#include "session/udp_transport.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include "link/outer_frame.h"
#include "session/local_addresses.h"

namespace quendra {
namespace {

constexpr int kReceiveBufferBytes = 4 * 1024 * 1024;  // a burst of many search answers

sockaddr_in socketAddress(std::uint32_t hostOrderAddress) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(kDevicePort);
  a.sin_addr.s_addr = htonl(hostOrderAddress);
  return a;
}

bool setFlag(int fd, int level, int option) {
  const int one = 1;
  return setsockopt(fd, level, option, &one, sizeof one) == 0;
}

void raiseReceiveBuffer(int fd) {
  const int bytes = kReceiveBufferBytes;
  // SO_RCVBUFFORCE passes rmem_max when we may; otherwise take what is allowed.
  if (setsockopt(fd, SOL_SOCKET, SO_RCVBUFFORCE, &bytes, sizeof bytes) != 0)
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
}

int openUdpSocket() { return socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_UDP); }

}  // namespace

UdpTransport::UdpTransport(QObject* parent) : Transport(parent), addresses_(&localIpv4Addresses) {}

UdpTransport::~UdpTransport() { closeLink(); }

void UdpTransport::setAddressProvider(AddressProvider provider) { addresses_ = std::move(provider); }

std::unique_ptr<QSocketNotifier> UdpTransport::watch(int fd, std::uint32_t boundAddress) {
  auto n = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  connect(n.get(), &QSocketNotifier::activated, this, [this, fd, boundAddress] { readAll(fd, boundAddress); });
  return n;
}

void UdpTransport::openLink() {
  closeReceiveSocket();  // opening twice must not leak the first socket
  receiveFd_ = openUdpSocket();
  if (receiveFd_ < 0) {
    emit failed(TransportFailure::ReceiveSocket);
    return;  // the following steps have nothing to configure
  }
  if (!setFlag(receiveFd_, SOL_SOCKET, SO_BROADCAST)) emit failed(TransportFailure::ReceiveBroadcast);
  if (!setFlag(receiveFd_, SOL_SOCKET, SO_REUSEADDR)) emit failed(TransportFailure::ReceiveReuse);
  setFlag(receiveFd_, IPPROTO_IP, IP_PKTINFO);  // which local address heard each datagram
  raiseReceiveBuffer(receiveFd_);
  const sockaddr_in any = socketAddress(INADDR_ANY);
  // A failed bind is not reported: the window opens all the same.
  bind(receiveFd_, reinterpret_cast<const sockaddr*>(&any), sizeof any);
  receiveReadable_ = watch(receiveFd_, 0);
}

void UdpTransport::closeReceiveSocket() {
  ++generation_;
  receiveReadable_.reset();
  if (receiveFd_ >= 0) ::close(receiveFd_);
  receiveFd_ = -1;
}

void UdpTransport::closeSendSockets() {
  ++generation_;
  for (SendSlot& slot : slots_) {
    slot.readable.reset();
    if (slot.fd >= 0) ::close(slot.fd);
    slot = SendSlot{};
  }
}

void UdpTransport::refreshInterfaces() {
  const std::vector<std::uint32_t> addresses = addresses_ ? addresses_() : std::vector<std::uint32_t>{};
  closeSendSockets();
  const int count = static_cast<int>(std::min<std::size_t>(addresses.size(), kSendSlots));
  for (int i = 0; i < count; ++i) {
    SendSlot& slot = slots_[i];
    const std::uint32_t address = addresses[i];
    const bool alreadyBound = std::any_of(slots_.begin(), slots_.begin() + i,
                                          [&](const SendSlot& s) { return s.bound && s.address == address; });
    if (alreadyBound) {
      emit failed(TransportFailure::AlreadyBound);
      continue;
    }
    slot.fd = openUdpSocket();
    if (slot.fd < 0) {
      emit failed(TransportFailure::SendSocket);
      continue;
    }
    std::optional<TransportFailure> failure;
    if (!setFlag(slot.fd, SOL_SOCKET, SO_BROADCAST)) failure = TransportFailure::SendBroadcast;
    else if (!setFlag(slot.fd, SOL_SOCKET, SO_REUSEADDR)) failure = TransportFailure::SendReuse;
    if (!failure) {
      slot.address = address;
      const sockaddr_in local = socketAddress(address);
      if (bind(slot.fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0)
        failure = TransportFailure::SendBind;
    }
    if (failure) {
      emit failed(*failure);
      ::close(slot.fd);  // a socket that failed is never used; close it at once
      slot = SendSlot{};
      continue;
    }
    raiseReceiveBuffer(slot.fd);
    slot.bound = true;
    slot.readable = watch(slot.fd, address);
  }
}

int UdpTransport::sendToAll(ByteView datagram) {
  const sockaddr_in broadcast = socketAddress(INADDR_BROADCAST);
  int sent = 0;
  for (const SendSlot& slot : slots_) {
    if (!slot.bound) continue;
    const ssize_t r = sendto(slot.fd, datagram.data(), datagram.size(), 0,
                             reinterpret_cast<const sockaddr*>(&broadcast), sizeof broadcast);
    if (r < 0) {
      emit failed(TransportFailure::SendFailed);
      continue;
    }
    ++sent;
    emit this->sent(Datagram{QByteArray(reinterpret_cast<const char*>(datagram.data()), qsizetype(datagram.size())),
                             slot.address, INADDR_BROADCAST, kDevicePort});
  }
  return sent;
}

void UdpTransport::closeLink() {
  closeSendSockets();
  closeReceiveSocket();
}

std::vector<std::uint32_t> UdpTransport::boundAddresses() const {
  std::vector<std::uint32_t> out;
  for (const SendSlot& slot : slots_)
    if (slot.bound) out.push_back(slot.address);
  return out;
}

void UdpTransport::readAll(int fd, std::uint32_t boundAddress) {
  // Each datagram is handed over with its own bytes. Datagrams above 1024
  // bytes are not handed over; empty ones post nothing. At most a batch per
  // wake-up, so a flood cannot starve the window: the notifier fires again.
  std::uint8_t buffer[kMaxDatagram + 1];
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
  const unsigned generation = generation_;
  // A receiver may close or rebuild the sockets (a search, the window
  // closing): then this descriptor is no longer ours to read.
  for (int i = 0; i < 256 && generation == generation_; ++i) {
    sockaddr_in peer{};
    iovec iov{buffer, sizeof buffer};
    msghdr msg{};
    msg.msg_name = &peer;
    msg.msg_namelen = sizeof peer;
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    msg.msg_control = control;
    msg.msg_controllen = sizeof control;
    const ssize_t r = recvmsg(fd, &msg, MSG_TRUNC);
    if (r < 0) {
      if (errno == EINTR) continue;
      return;  // EAGAIN: drained; other errors are ignored like the receive loop's
    }
    if (r == 0 || static_cast<std::size_t>(r) > kMaxDatagram || (msg.msg_flags & MSG_TRUNC)) continue;
    std::uint32_t local = boundAddress;
    for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(&msg, c))
      if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
        in_pktinfo info;
        std::memcpy(&info, CMSG_DATA(c), sizeof info);
        local = ntohl(info.ipi_spec_dst.s_addr);
      }
    emit received(Datagram{QByteArray(reinterpret_cast<const char*>(buffer), static_cast<int>(r)), local,
                           ntohl(peer.sin_addr.s_addr), ntohs(peer.sin_port)});
  }
}

}  // namespace quendra
