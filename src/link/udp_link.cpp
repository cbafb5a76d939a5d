#include "link/udp_link.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "link/local_addresses.h"
#include "link/outer_frame.h"

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

bool setFlag(int fd, int option) {
  const int one = 1;
  return setsockopt(fd, SOL_SOCKET, option, &one, sizeof one) == 0;
}

void raiseReceiveBuffer(int fd) {
  const int bytes = kReceiveBufferBytes;
  // SO_RCVBUFFORCE passes rmem_max when we may; otherwise take what is allowed.
  if (setsockopt(fd, SOL_SOCKET, SO_RCVBUFFORCE, &bytes, sizeof bytes) != 0)
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
}

int openUdpSocket() { return socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_UDP); }

}  // namespace

UdpLink::UdpLink(Notifier& notifier, QObject* parent)
    : QObject(parent), notifier_(notifier), addresses_(&localIpv4Addresses) {}

UdpLink::~UdpLink() { closeLink(); }

void UdpLink::setAddressProvider(AddressProvider provider) { addresses_ = std::move(provider); }

std::unique_ptr<QSocketNotifier> UdpLink::watch(int fd) {
  auto n = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  connect(n.get(), &QSocketNotifier::activated, this, [this, fd] { readAll(fd); });
  return n;
}

void UdpLink::openLink() {
  const QString& title = applicationName();
  closeReceiveSocket();  // opening twice must not leak the first socket
  receiveFd_ = openUdpSocket();
  if (receiveFd_ < 0) {
    notifier_.notify(title, QStringLiteral("套接字错误,请检查错误并重新打开软件"), NoticeIcon::None);
    return;  // the following steps have nothing to configure
  }
  if (!setFlag(receiveFd_, SO_BROADCAST))
    notifier_.notify(title, QStringLiteral("设置规则失败1"), NoticeIcon::None);
  if (!setFlag(receiveFd_, SO_REUSEADDR))
    notifier_.notify(title, QStringLiteral("设置规则失败2"), NoticeIcon::None);
  raiseReceiveBuffer(receiveFd_);
  const sockaddr_in any = socketAddress(INADDR_ANY);
  // A failed bind is not reported: the window opens all the same.
  bind(receiveFd_, reinterpret_cast<const sockaddr*>(&any), sizeof any);
  receiveReadable_ = watch(receiveFd_);
}

void UdpLink::closeReceiveSocket() {
  ++generation_;
  receiveReadable_.reset();
  if (receiveFd_ >= 0) ::close(receiveFd_);
  receiveFd_ = -1;
}

void UdpLink::closeSendSockets() {
  ++generation_;
  for (SendSlot& slot : slots_) {
    slot.readable.reset();
    if (slot.fd >= 0) ::close(slot.fd);
    slot = SendSlot{};
  }
}

void UdpLink::rebuildSendSockets() {
  const QString& title = applicationName();
  const std::vector<std::uint32_t> addresses = addresses_ ? addresses_() : std::vector<std::uint32_t>{};
  closeSendSockets();
  const int count = static_cast<int>(std::min<std::size_t>(addresses.size(), kSendSlots));
  for (int i = 0; i < count; ++i) {
    SendSlot& slot = slots_[i];
    const std::uint32_t address = addresses[i];
    const bool alreadyBound = std::any_of(slots_.begin(), slots_.begin() + i,
                                          [&](const SendSlot& s) { return s.bound && s.address == address; });
    if (alreadyBound) {
      notifier_.notify(title, QStringLiteral("已经绑定过此IP,无需再次绑定"), NoticeIcon::None);
      continue;
    }
    slot.fd = openUdpSocket();
    if (slot.fd < 0) {
      notifier_.notify(title, QStringLiteral("套接字创建失败"), NoticeIcon::None);
      continue;
    }
    const char* failure = nullptr;
    if (!setFlag(slot.fd, SO_BROADCAST)) failure = "设置socket规则失败";
    else if (!setFlag(slot.fd, SO_REUSEADDR)) failure = "设置socket规则失败2";
    if (!failure) {
      slot.address = address;
      const sockaddr_in local = socketAddress(address);
      if (bind(slot.fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) failure = "绑定SOCKET出错";
    }
    if (failure) {
      notifier_.notify(title, QString::fromUtf8(failure), NoticeIcon::None);
      ::close(slot.fd);  // a socket that failed is never used; close it at once
      slot = SendSlot{};
      continue;
    }
    raiseReceiveBuffer(slot.fd);
    slot.bound = true;
    slot.readable = watch(slot.fd);
  }
}

int UdpLink::sendToAll(ByteView datagram) {
  const sockaddr_in broadcast = socketAddress(INADDR_BROADCAST);
  int sent = 0;
  for (const SendSlot& slot : slots_) {
    if (!slot.bound) continue;
    const ssize_t r = sendto(slot.fd, datagram.data(), datagram.size(), 0,
                             reinterpret_cast<const sockaddr*>(&broadcast), sizeof broadcast);
    if (r < 0)
      notifier_.notify(applicationName(), QStringLiteral("端口被占用"), NoticeIcon::None);
    else
      ++sent;
  }
  return sent;
}

void UdpLink::closeLink() {
  closeSendSockets();
  closeReceiveSocket();
}

std::vector<std::uint32_t> UdpLink::boundAddresses() const {
  std::vector<std::uint32_t> out;
  for (const SendSlot& slot : slots_)
    if (slot.bound) out.push_back(slot.address);
  return out;
}

void UdpLink::readAll(int fd) {
  // Each datagram is handed over with its own bytes. Datagrams above 1024
  // bytes are not handed over; empty ones post nothing. At most a batch per
  // wake-up, so a flood cannot starve the window: the notifier fires again.
  std::uint8_t buffer[kMaxDatagram + 1];
  const unsigned generation = generation_;
  // A receiver may close or rebuild the sockets (a search, the window
  // closing): then this descriptor is no longer ours to read.
  for (int i = 0; i < 256 && generation == generation_; ++i) {
    const ssize_t r = recv(fd, buffer, sizeof buffer, MSG_TRUNC);
    if (r < 0) {
      if (errno == EINTR) continue;
      return;  // EAGAIN: drained; other errors are ignored like the receive loop's
    }
    if (r == 0 || static_cast<std::size_t>(r) > kMaxDatagram) continue;
    emit datagramReceived(QByteArray(reinterpret_cast<const char*>(buffer), static_cast<int>(r)));
  }
}

}  // namespace quendra
