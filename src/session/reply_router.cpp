#include "session/reply_router.h"

#include <algorithm>

#include "session/host_session.h"

namespace quendra {

ReplyRouter::ReplyRouter(Transport& transport, QObject* parent) : QObject(parent), transport_(transport) {
  dispatcher_.onSearchAnswer([this](const SearchAnswer& a) { emit searchAnswered(a, localAddress_); });
  dispatcher_.onNetworkAnswer([this](const Mac& from, ByteView record) {
    toSessionsOf(from, [&](HostSession* s) { s->onNetworkReply(record); });
  });
  dispatcher_.onTunnelReply([this](const Mac& from, const TunnelCommand& command, ByteView payload) {
    toSessionsOf(from, [&](HostSession* s) { s->onTunnelReply(command, payload); });
  });
  dispatcher_.onVersionRefused([this](const Mac& from) { toSessionsOf(from, [](HostSession* s) { s->onVersionRefused(); }); });
  connect(&transport_, &Transport::received, this, &ReplyRouter::onDatagram);
}

int ReplyRouter::sendSearch() { return transport_.sendToAll(OuterFrame::buildSearchRequest()); }

void ReplyRouter::attach(HostSession* session) { sessions_.push_back(session); }

void ReplyRouter::detach(HostSession* session) { std::erase(sessions_, session); }

void ReplyRouter::onDatagram(const Datagram& datagram) {
  localAddress_ = datagram.localAddress;
  dispatcher_.onDeviceDatagram(datagram.view());
  emit datagramHandled();
}

template <typename Deliver>
void ReplyRouter::toSessionsOf(const Mac& mac, Deliver deliver) {
  // A session may be detached by what another does with the reply: the
  // sessions of this host are taken first, and each checked before delivery.
  std::vector<HostSession*> matching;
  for (HostSession* s : sessions_)
    if (s->target() == mac) matching.push_back(s);
  for (HostSession* s : matching)
    if (std::find(sessions_.begin(), sessions_.end(), s) != sessions_.end()) deliver(s);
}

}  // namespace quendra
