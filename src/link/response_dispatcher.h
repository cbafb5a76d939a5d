#pragma once
// The one entry of host replies: checks the outer frame, routes search and
// network answers, decodes tunnel blocks and hands each accepted block to the
// page that owns its command. Pages register their operations, so a page added
// later only supplies its handlers. Qt-free: it runs on the window's thread.
#include <functional>
#include <map>

#include "link/outer_frame.h"
#include "link/tunnel_commands.h"
#include "link/tunnel_frame.h"

namespace quendra {

class ResponseDispatcher {
 public:
  using SearchHandler = std::function<void(const SearchAnswer&)>;
  using NetworkHandler = std::function<void(ByteView record292)>;
  // For data replies the payload holds at least payloadSizeOf(group) bytes;
  // acknowledgements get whatever lies before the trailer.
  using TunnelHandler = std::function<void(const TunnelCommand&, ByteView payload)>;

  void onSearchAnswer(SearchHandler h) { search_ = std::move(h); }
  void onNetworkAnswer(NetworkHandler h) { network_ = std::move(h); }
  // A group's data replies and write acknowledgements; either may be empty.
  void routeGroup(ParamGroup group, TunnelHandler dataReply, TunnelHandler acknowledgement);
  // Every accepted reply or acknowledgement, after the page's handler ran
  // (the batch sequencer marks its answered bits here).
  void onAnswered(TunnelHandler h) { answered_ = std::move(h); }
  // A block refused by the host version gate.
  void onVersionRefused(std::function<void()> h) { versionRefused_ = std::move(h); }
  // After every datagram, whatever it held (the window refreshes InfoLog).
  void onDatagramDone(std::function<void()> h) { done_ = std::move(h); }

  void onDeviceDatagram(ByteView datagram);

 private:
  void dispatchTunnel(ByteView block);

  struct Route {
    TunnelHandler dataReply;
    TunnelHandler acknowledgement;
  };
  SearchHandler search_;
  NetworkHandler network_;
  std::map<ParamGroup, Route> routes_;
  TunnelHandler answered_;
  std::function<void()> versionRefused_;
  std::function<void()> done_;
};

}  // namespace quendra
