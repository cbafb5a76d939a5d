#pragma once
// Which groups have been read since the tool started. Every page's read needs
// networkRead; every page's write needs its own flag. No reply clears a flag,
// and no flag is tied to the host that is selected.
namespace quendra {

struct ReadFlags {
  bool networkRead = false;
  bool baseRead = false;
  bool gprsRead = false;
  bool channelRead = false;
  bool modbusRead = false;
  bool relayRead = false;
  bool ledRead = false;
};

}  // namespace quendra
