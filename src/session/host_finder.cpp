#include "session/host_finder.h"

#include <algorithm>

#include "session/reply_router.h"

namespace quendra {

HostConflicts conflictsOf(const FoundHost& host, const std::vector<FoundHost>& all) {
  HostConflicts c;
  for (const FoundHost& other : all) {
    if (other.answer.mac != host.answer.mac && other.answer.ip == host.answer.ip) c.sharedAddress = true;
    if (other.answer.mac == host.answer.mac && other.answer.ip != host.answer.ip) c.twoAddresses = true;
  }
  return c;
}

HostFinder::HostFinder(ReplyRouter& router, QObject* parent) : QObject(parent), router_(router) {
  connect(&router_, &ReplyRouter::searchAnswered, this, &HostFinder::onAnswer);
  resend_.setTimerType(Qt::PreciseTimer);
  connect(&resend_, &QTimer::timeout, this, &HostFinder::resend);
}

void HostFinder::search(int requests, std::chrono::milliseconds duration) {
  found_.clear();
  listening_ = true;
  requestsLeft_ = std::max(requests, 1);
  router_.transport().refreshInterfaces();
  resend();
  // Sends the rest at even steps; the last step ends the search.
  if (duration.count() > 0) resend_.start(duration / std::max(requests, 1));
  else resend_.stop();
}

void HostFinder::resend() {
  if (requestsLeft_-- > 0) {
    router_.sendSearch();
    return;
  }
  stop();
}

void HostFinder::stop() {
  resend_.stop();
  if (!std::exchange(listening_, false)) return;
  emit finished();
}

void HostFinder::onAnswer(const SearchAnswer& answer, std::uint32_t localAddress) {
  if (!listening_) return;
  const bool again = std::any_of(found_.begin(), found_.end(), [&](const FoundHost& f) {
    return f.answer.mac == answer.mac && f.answer.ip == answer.ip && f.localAddress == localAddress;
  });
  if (again) return;
  found_.push_back({answer, localAddress});
  emit hostFound(found_.back());
}

std::vector<FoundHost> distinctHosts(const std::vector<FoundHost>& found) {
  std::vector<FoundHost> out;
  for (const FoundHost& h : found)
    if (std::none_of(out.begin(), out.end(), [&](const FoundHost& u) { return u.answer.mac == h.answer.mac; }))
      out.push_back(h);
  return out;
}

}  // namespace quendra
