#pragma once
// Texts anyone on a hosts' LAN can give a host (its name, channel names, GPRS target, LED texts): markup that loads a
// file or makes a link, terminal sequences, spreadsheet formulas, a right-to-left override, a lone GBK lead byte.
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "link/gbk.h"
#include "link/tunnel_commands.h"
#include "records/channel_params.h"
#include "records/gprs_params.h"
#include "sim/sim_hosts.h"

namespace quendra::test {

struct HostileText {
  const char* what;
  std::string utf8;
  bool markup = false;  // a widget guessing rich text would take it as markup
  std::string rawGbk;   // bytes a host holds that decode to no character (utf8: what the tool reads of them)

  QString text() const { return QString::fromStdString(utf8); }
  // As a host holds it; nullopt when GBK cannot hold it (such a text comes from a file only).
  std::optional<std::string> gbk() const { return rawGbk.empty() ? utf8ToGbk(utf8) : rawGbk; }
};

inline const std::vector<HostileText>& hostileTexts() {
  static const std::vector<HostileText> texts{
      {"image of a file without end", "<img src=/dev/zero>", true},
      {"link", "<a href=\"http://x\">y</a>", true},
      {"terminal title and clear", "\x1b]0;owned\x07\x1b[2J", false},
      {"formula", "=HYPERLINK(\"http://x\",\"y\")", false},
      {"plus", "+1+1", false},
      {"minus", "-1+1", false},
      {"at", "@SUM(1)", false},
      {"tab", "\t=1", false},
      {"carriage return", "\r=1", false},
      {"right-to-left override", "\u202Eevil", false},
      {"lone GBK lead byte", gbkToUtf8("ab\x81"), false, "ab\x81"},
  };
  return texts;
}

// A simulated host that holds `gbk` as its name, channel 1's first name and its GPRS target.
inline void holdTexts(sim::SimHost& host, const std::string& gbk) {
  host.nameGbk = gbk;
  const std::uint8_t channel = readCommandOf(ParamGroup::Channel, 0);
  ChannelParams c = *decodeChannelPayload(host.records.at(channel));
  c.name1 = gbk;
  host.records[channel] = encodeChannelPayload(c);
  GprsParams g;
  decodeGprsParams(host.records.at(readCommandOf(ParamGroup::Gprs)), g);
  g.targetAddress = gbk;
  host.records[readCommandOf(ParamGroup::Gprs)] = encodeGprsParams(g);
}

}  // namespace quendra::test
