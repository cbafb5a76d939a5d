#pragma once
// The one entry of host replies: checks the outer frame, routes search and
// network answers, decodes tunnel blocks and hands each accepted block on with
// the MAC of the host that sent it (outer offsets 4..9), so the session can
// tell its own host's replies from another's. Qt-free.
#include <functional>

#include "link/outer_frame.h"
#include "link/tunnel_commands.h"
#include "link/tunnel_frame.h"

namespace quendra {

class ResponseDispatcher {
 public:
  using SearchHandler = std::function<void(const SearchAnswer&)>;
  using NetworkHandler = std::function<void(const Mac& from, ByteView record292)>;
  // For data replies the payload holds at least payloadSizeOf(group) bytes;
  // acknowledgements get whatever lies before the trailer.
  using TunnelHandler = std::function<void(const Mac& from, const TunnelCommand&, ByteView payload)>;
  using RefusedHandler = std::function<void(const Mac& from)>;

  void onSearchAnswer(SearchHandler h) { search_ = std::move(h); }
  void onNetworkAnswer(NetworkHandler h) { network_ = std::move(h); }
  // Every accepted data reply and write acknowledgement.
  void onTunnelReply(TunnelHandler h) { tunnel_ = std::move(h); }
  // A block refused by the host version gate.
  void onVersionRefused(RefusedHandler h) { versionRefused_ = std::move(h); }

  void onDeviceDatagram(ByteView datagram) const;

 private:
  void dispatchTunnel(const Mac& from, ByteView block) const;

  SearchHandler search_;
  NetworkHandler network_;
  TunnelHandler tunnel_;
  RefusedHandler versionRefused_;
};

}  // namespace quendra
