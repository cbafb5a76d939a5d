#pragma once
// Finding the hosts on the LAN, for every front end: the search request goes
// out (once, or again at even steps over the search time, so that a lost
// request or answer costs only part of it) and every host that answers is
// reported once per local address that heard it; a host answering again is
// not reported again. What the answers say about each other (two hosts on
// one address, one host heard with two addresses) is worked out here too.
#include <QObject>
#include <QTimer>
#include <chrono>
#include <vector>

#include "link/outer_frame.h"

namespace quendra {

class ReplyRouter;

// A host as a search heard it.
struct FoundHost {
  SearchAnswer answer;
  std::uint32_t localAddress = 0;
};

// What is wrong with a host's answer among the others.
struct HostConflicts {
  bool sharedAddress = false;  // another host answers with the same address
  bool twoAddresses = false;   // this host also answered with another address
  bool any() const { return sharedAddress || twoAddresses; }
};
HostConflicts conflictsOf(const FoundHost& host, const std::vector<FoundHost>& all);
// The hosts among `found`, each once (as first heard).
std::vector<FoundHost> distinctHosts(const std::vector<FoundHost>& found);

class HostFinder : public QObject {
  Q_OBJECT
 public:
  explicit HostFinder(ReplyRouter& router, QObject* parent = nullptr);

  // Forgets what was found and searches: the request goes out `requests`
  // times, evenly over `duration`, then finished(). A duration of zero sends
  // once and listens until the next search or stop().
  void search(int requests = 1, std::chrono::milliseconds duration = std::chrono::milliseconds(0));
  // Stops listening; finished() if it was.
  void stop();
  bool searching() const { return listening_; }

  // Every host heard, in the order first heard.
  const std::vector<FoundHost>& found() const { return found_; }

 signals:
  // A host, or a host heard on one more local address.
  void hostFound(const FoundHost& host);
  void finished();

 private:
  void onAnswer(const SearchAnswer& answer, std::uint32_t localAddress);
  void resend();

  ReplyRouter& router_;
  std::vector<FoundHost> found_;
  QTimer resend_;
  int requestsLeft_ = 0;
  bool listening_ = false;
};

}  // namespace quendra
