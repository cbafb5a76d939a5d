#include "cli/stop_signals.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <utility>

namespace quendra::cli {
namespace {

int pipeEnds[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGPIPE};

void onSignal(int signal) {
  const int saved = errno;
  const char number = static_cast<char>(signal);
  if (::write(pipeEnds[1], &number, 1) < 0) {}  // a full pipe already says it
  errno = saved;
}

}  // namespace

StopSignals::StopSignals() {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipeEnds) != 0) pipeEnds[0] = pipeEnds[1] = -1;
  if (pipeEnds[0] >= 0) {
    notifier_ = std::make_unique<QSocketNotifier>(pipeEnds[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &StopSignals::onReadable);
  }
  for (int i = 0; i < 3; ++i) {
    struct sigaction action {};
    action.sa_handler = kSignals[i] == SIGPIPE || pipeEnds[0] < 0 ? SIG_IGN : onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(kSignals[i], &action, &previous_[i]);
  }
}

StopSignals::~StopSignals() {
  for (int i = 0; i < 3; ++i) ::sigaction(kSignals[i], &previous_[i], nullptr);
  notifier_.reset();
  for (int& end : pipeEnds)
    if (end >= 0) ::close(std::exchange(end, -1));
}

void StopSignals::onReadable() {
  char number = 0;
  while (::read(pipeEnds[0], &number, 1) == 1)
    if (!received_) {
      received_ = number;
      emit stopRequested(number);
    }
}

}  // namespace quendra::cli
