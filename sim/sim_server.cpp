#include "sim_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>

#include "link/outer_frame.h"
#include "sim_hosts.h"

namespace quendra::sim {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSocketBufferBytes = 8 * 1024 * 1024;  // a search answered by thousands of hosts
constexpr std::size_t kMaxDatagram = 65536;

volatile sig_atomic_t stopRequested = 0;
void onStopSignal(int) { stopRequested = 1; }

// Where a request came from and on which interface, so the reply can go back
// the same way.
struct Origin {
  sockaddr_in sender{};
  int ifindex = 0;
  in_addr localAddress{};  // the interface's address (IP_PKTINFO ipi_spec_dst)
};

struct PendingReply {
  Clock::time_point due;
  Origin origin;
  Bytes datagram;
};

void setBuffer(int fd, int forceOption, int option) {
  const int bytes = kSocketBufferBytes;
  if (setsockopt(fd, SOL_SOCKET, forceOption, &bytes, sizeof bytes) != 0)
    setsockopt(fd, SOL_SOCKET, option, &bytes, sizeof bytes);
}

int openSocket() {
  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
  if (fd < 0) return -1;
  const int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &one, sizeof one);
  setsockopt(fd, IPPROTO_IP, IP_PKTINFO, &one, sizeof one);
  setBuffer(fd, SO_RCVBUFFORCE, SO_RCVBUF);
  setBuffer(fd, SO_SNDBUFFORCE, SO_SNDBUF);
  sockaddr_in any{};
  any.sin_family = AF_INET;
  any.sin_port = htons(kDevicePort);
  any.sin_addr.s_addr = htonl(INADDR_ANY);
  if (bind(fd, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0) {
    std::fprintf(stderr, "quendra-hostsim: cannot bind 0.0.0.0:%u: %s\n", kDevicePort, std::strerror(errno));
    close(fd);
    return -1;
  }
  return fd;
}

class Server {
 public:
  Server(const SimOptions& options, int fd, int logFd) : options_(options), fd_(fd), logFd_(logFd), fleet_(options) {}

  int run(const sigset_t& waitMask) {
    while (!stopRequested) {
      pollfd p{fd_, POLLIN, 0};
      timespec timeout{};
      timespec* timeoutPtr = nullptr;
      if (!pending_.empty()) {
        const auto wait = std::max(Clock::duration::zero(), pending_.front().due - Clock::now());
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
        timeout.tv_sec = static_cast<time_t>(ns / 1000000000);
        timeout.tv_nsec = static_cast<long>(ns % 1000000000);
        timeoutPtr = &timeout;
      }
      const int r = ppoll(&p, 1, timeoutPtr, &waitMask);
      if (r < 0 && errno != EINTR) {
        std::perror("quendra-hostsim: poll");
        return 1;
      }
      if (r > 0) receiveAll();
      sendDue();
    }
    return 0;
  }

 private:
  void receiveAll() {
    for (;;) {
      Origin origin;
      const ssize_t n = receive(origin);
      if (n < 0) return;
      handle(ByteView(buffer_, static_cast<std::size_t>(n)), origin);
    }
  }

  ssize_t receive(Origin& origin) {
    iovec iov{buffer_, sizeof buffer_};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
    msghdr msg{};
    msg.msg_name = &origin.sender;
    msg.msg_namelen = sizeof origin.sender;
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    msg.msg_control = control;
    msg.msg_controllen = sizeof control;
    ssize_t n;
    do n = recvmsg(fd_, &msg, MSG_DONTWAIT);
    while (n < 0 && errno == EINTR);
    if (n < 0) return -1;
    for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(&msg, c)) {
      if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
        in_pktinfo info;
        std::memcpy(&info, CMSG_DATA(c), sizeof info);
        origin.ifindex = info.ipi_ifindex;
        origin.localAddress = info.ipi_spec_dst;
      }
    }
    return n;
  }

  void handle(ByteView datagram, const Origin& origin) {
    // Replies (ours looped back, or another simulator's) are not requests.
    if (datagram.empty() || datagram[0] == OuterFrame::kReplyMarker) return;
    log(datagram);
    const auto due = Clock::now() + std::chrono::milliseconds(options_.delayMs);
    for (Bytes& reply : fleet_.handle(datagram)) {
      if (options_.delayMs == 0) send(reply, origin);
      else pending_.push_back(PendingReply{due, origin, std::move(reply)});
    }
  }

  void sendDue() {
    const auto now = Clock::now();
    while (!pending_.empty() && pending_.front().due <= now) {
      send(pending_.front().datagram, pending_.front().origin);
      pending_.pop_front();
    }
  }

  void send(const Bytes& datagram, const Origin& origin) {
    iovec iov{const_cast<std::uint8_t*>(datagram.data()), datagram.size()};
    msghdr msg{};
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    sockaddr_in to = origin.sender;
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    if (options_.reply == ReplyMode::Broadcast) {
      to = sockaddr_in{};
      to.sin_family = AF_INET;
      to.sin_port = htons(kDevicePort);
      to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
      // A wildcard socket cannot route 255.255.255.255 without a default
      // route; naming the interface and its address as source can.
      msg.msg_control = control;
      msg.msg_controllen = sizeof control;
      cmsghdr* c = CMSG_FIRSTHDR(&msg);
      c->cmsg_level = IPPROTO_IP;
      c->cmsg_type = IP_PKTINFO;
      c->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
      in_pktinfo info{};
      info.ipi_ifindex = origin.ifindex;
      info.ipi_spec_dst = origin.localAddress;
      std::memcpy(CMSG_DATA(c), &info, sizeof info);
    }
    msg.msg_name = &to;
    msg.msg_namelen = sizeof to;
    ssize_t r;
    do r = sendmsg(fd_, &msg, 0);
    while (r < 0 && errno == EINTR && !stopRequested);
    if (r < 0) std::fprintf(stderr, "quendra-hostsim: send: %s\n", std::strerror(errno));
  }

  void log(ByteView datagram) {
    if (logFd_ < 0) return;
    static constexpr char kHex[] = "0123456789abcdef";
    std::string line;
    line.reserve(datagram.size() * 2 + 1);
    for (const std::uint8_t b : datagram) {
      line.push_back(kHex[b >> 4]);
      line.push_back(kHex[b & 0x0F]);
    }
    line.push_back('\n');
    // One write per line on an O_APPEND descriptor: a reader never sees half a line.
    if (write(logFd_, line.data(), line.size()) < 0) std::perror("quendra-hostsim: log");
  }

  const SimOptions& options_;
  int fd_;
  int logFd_;
  HostFleet fleet_;
  std::deque<PendingReply> pending_;
  std::uint8_t buffer_[kMaxDatagram];
};

}  // namespace

int runServer(const SimOptions& options) {
  // SIGINT/SIGTERM are blocked except inside ppoll, so a stop request can
  // neither be lost between the check and the wait nor cut a send short.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  sigset_t waitMask;
  sigprocmask(SIG_BLOCK, &stopSignals, &waitMask);
  sigdelset(&waitMask, SIGINT);
  sigdelset(&waitMask, SIGTERM);
  struct sigaction action{};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);

  int logFd = -1;
  if (!options.logPath.empty()) {
    logFd = open(options.logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (logFd < 0) {
      std::fprintf(stderr, "quendra-hostsim: cannot open log %s: %s\n", options.logPath.c_str(), std::strerror(errno));
      return 1;
    }
  }
  const int fd = openSocket();
  if (fd < 0) return 1;
  std::fputs("ready\n", stdout);
  std::fflush(stdout);
  auto server = std::make_unique<Server>(options, fd, logFd);  // a 64 KiB buffer: not on the stack
  const int code = server->run(waitMask);
  close(fd);
  if (logFd >= 0) close(logFd);
  return code;
}

}  // namespace quendra::sim
