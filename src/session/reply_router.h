#pragma once
// One transport, any number of host sessions: every datagram that arrives is
// checked and decoded once; a search answer is announced to whoever searches,
// a network or tunnel reply goes to the sessions working with the host whose
// MAC it carries, and to no other (a late reply of host A must never become
// host B's record).
#include <QObject>
#include <QPointer>
#include <vector>

#include "link/response_dispatcher.h"
#include "session/transport.h"

namespace quendra {

class HostSession;

class ReplyRouter : public QObject {
  Q_OBJECT
 public:
  explicit ReplyRouter(Transport& transport, QObject* parent = nullptr);

  Transport& transport() const { return transport_; }
  // Sends the search request to every host (refreshInterfaces first, if the
  // caller wants the current addresses).
  int sendSearch();
  int sendToAll(ByteView datagram) { return transport_.sendToAll(datagram); }

 signals:
  // One host's answer to a search, and the local address that heard it.
  void searchAnswered(const SearchAnswer& answer, std::uint32_t localAddress);
  // After every datagram, whatever it held.
  void datagramHandled();

 private:
  friend class HostSession;
  void attach(HostSession* session);
  void detach(HostSession* session);
  void onDatagram(const Datagram& datagram);
  template <typename Deliver>
  void toSessionsOf(const Mac& mac, Deliver deliver);

  Transport& transport_;
  ResponseDispatcher dispatcher_;
  std::vector<HostSession*> sessions_;
  std::uint32_t localAddress_ = 0;  // of the datagram being dispatched
};

}  // namespace quendra
