#include "sim_options.h"

#include <charconv>
#include <cstdlib>

#include "link/gbk.h"

namespace quendra::sim {
namespace {

bool parseInt(const std::string& text, long min, long max, long& out) {
  const char* end = text.data() + text.size();
  const auto r = std::from_chars(text.data(), end, out);
  return r.ec == std::errc() && r.ptr == end && out >= min && out <= max;
}

std::vector<std::string> splitList(const std::string& text, char sep) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = text.find(sep, start);
    parts.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
    if (at == std::string::npos) return parts;
    start = at + 1;
  }
}

bool parseTunnelCommand(const std::string& text, std::uint8_t& out) {
  long v = 0;
  if (!parseInt(text, 1, 150, v)) return false;
  out = static_cast<std::uint8_t>(v);
  return true;
}

}  // namespace

std::optional<SimOptions> parseOptions(const std::vector<std::string>& args, std::string& error) {
  SimOptions o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::string value;
    bool hasValue = false;
    if (const std::size_t eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
      hasValue = true;
    }
    if (name == "--help" || name == "-h") {
      o.help = true;
      continue;
    }
    const bool known = name == "--hosts" || name == "--reply" || name == "--log" || name == "--drop" ||
                       name == "--silent" || name == "--late" || name == "--delay" || name == "--trailer-version" ||
                       name == "--name" || name == "--stop-after";
    if (!known) {
      error = "unknown option: " + args[i];
      return std::nullopt;
    }
    if (!hasValue) {
      if (i + 1 >= args.size()) {
        error = name + " needs a value";
        return std::nullopt;
      }
      value = args[++i];
    }
    const auto bad = [&](const char* what) {
      error = name + ": " + what + " (got \"" + value + "\")";
      return std::nullopt;
    };
    long v = 0;
    if (name == "--hosts") {
      if (!parseInt(value, 1, kMaxHosts, v)) return bad("a number of hosts from 1 to 10000");
      o.hosts = static_cast<int>(v);
    } else if (name == "--reply") {
      if (value == "broadcast") o.reply = ReplyMode::Broadcast;
      else if (value == "unicast") o.reply = ReplyMode::Unicast;
      else return bad("broadcast or unicast");
    } else if (name == "--log") {
      if (value.empty()) return bad("a file name");
      o.logPath = value;
    } else if (name == "--drop") {
      char* end = nullptr;
      const double d = std::strtod(value.c_str(), &end);
      if (value.empty() || *end != '\0' || !(d >= 0 && d <= 100)) return bad("a percentage from 0 to 100");
      o.dropPercent = d;
    } else if (name == "--silent") {
      for (const std::string& part : splitList(value, ',')) {
        std::uint8_t c = 0;
        if (!parseTunnelCommand(part, c)) return bad("tunnel command numbers 1..150 separated by commas");
        o.silent.insert(c);
      }
    } else if (name == "--late") {
      for (const std::string& part : splitList(value, ',')) {
        const std::size_t colon = part.find(':');
        std::uint8_t c = 0;
        long attempt = 0;
        if (colon == std::string::npos || !parseTunnelCommand(part.substr(0, colon), c) ||
            !parseInt(part.substr(colon + 1), 1, 1000000, attempt))
          return bad("CMD:N pairs (CMD 1..150, N >= 1) separated by commas");
        o.late[c] = static_cast<int>(attempt);
      }
    } else if (name == "--delay") {
      if (!parseInt(value, 0, 600000, v)) return bad("milliseconds from 0 to 600000");
      o.delayMs = static_cast<int>(v);
    } else if (name == "--name") {
      const std::size_t colon = value.find(':');
      const auto gbk = colon == std::string::npos ? std::nullopt : utf8ToGbk(value.substr(colon + 1));
      if (!gbk || !parseInt(value.substr(0, colon), 1, kMaxHosts, v)) return bad("N:TEXT, a host number and a name GBK holds");
      o.names[static_cast<int>(v) - 1] = *gbk;
    } else if (name == "--stop-after") {
      const std::size_t colon = value.find(':');
      long ms = 0;
      if (!parseInt(value.substr(0, colon), 1, 100000000, v) ||
          (colon != std::string::npos && !parseInt(value.substr(colon + 1), 1, 600000, ms)))
        return bad("N or N:MS (N >= 1 requests, MS 1..600000)");
      o.stopAfter = static_cast<int>(v);
      o.stopForMs = static_cast<int>(ms);
    } else if (name == "--trailer-version") {
      const std::size_t dot = value.find('.');
      long high = 0;
      long low = 0;
      if (dot == std::string::npos || !parseInt(value.substr(0, dot), 0, 255, high) ||
          !parseInt(value.substr(dot + 1), 0, 255, low))
        return bad("HIGH.LOW, each 0..255");
      o.trailerHigh = static_cast<std::uint8_t>(high);
      o.trailerLow = static_cast<std::uint8_t>(low);
    }
  }
  return o;
}

const char* usageText() {
  return R"(NAME
    quendra-hostsim - simulated Quendra monitoring hosts on UDP port 1901

SYNOPSIS
    quendra-hostsim [--hosts N] [--reply broadcast|unicast] [--log FILE]
                    [--drop PERCENT] [--silent CMD[,CMD...]] [--late CMD:N[,CMD:N...]]
                    [--delay MS] [--stop-after N[:MS]] [--trailer-version HIGH.LOW]
                    [--name N:TEXT] [--help]

DESCRIPTION
    Emulates one or many monitoring hosts in one process. It binds 0.0.0.0:1901
    (SO_REUSEADDR, so the configuration tool may run in the same network
    namespace), prints the single line "ready" on standard output once the
    socket is bound, and answers requests until SIGINT or SIGTERM (exit 0).

    Run it ONLY inside a private network namespace (scripts/netns-run,
    scripts/netns-pair): its replies are broadcasts.

    Every host has its own MAC (02-4B-7D-00-00-01 for host 1, counting up),
    IPv4 address (192.168.1.10 for host 1, ...; taken from its network record),
    GBK name ("模拟主机1", ...) and firmware version (710 for host 1, counting up).
    Each host keeps its records in memory as byte images: the 292-byte network
    record and one payload per tunnel read command, starting from plausible,
    distinct values. Nothing is written to disk (apart from the log).

    LAN commands (request marker 0xAA; a frame with a wrong length field or sum
    is ignored; a request naming another host's MAC is ignored by that host):
      2   search: every host answers with reply 2 (IP, MAC, firmware, name).
      3   read network parameters: reply 3 with the 292-byte record.
      4   write network parameters (292 bytes): replaces the record. No reply.
      6   network factory reset: restores the host's first network record. No reply.
      15  write MAC (6 bytes): the host answers to the new MAC from now on. No reply.
      10  tunnel: a read command (1, 3, 5..36, 69..76, 85..116, 150) with no
          payload is answered with the record's payload and the reply trailer
          (0x99, version HIGH, version LOW, 0x04, spare 0x00, CRC); a write
          command (2, 4, 37..68, 77..84, 117..148, 149) with exactly its
          group's payload size stores the payload into the record of the
          matching read command and is acknowledged (reply with no payload).
          A write of another size, a bad CRC or start byte, or a command
          outside the table is neither stored nor answered.
    Replies carry marker 0x55; tunnel replies are outer command 10 with the
    tunnel block length in bytes 1 and 2 and the host's MAC in bytes 4..9.

OPTIONS
    --hosts N
        Number of simulated hosts, 1 to 10000 (default 1). A search is answered
        by every host, host 1 first, without pacing.
    --reply broadcast|unicast
        broadcast (default): replies go to 255.255.255.255:1901, sent through
        the address of the interface the request came in on (works without a
        default route). unicast: replies go to the sender's address and port.
    --log FILE
        Appends every request heard (every datagram not starting with 0x55),
        one lower-case hex line without blanks each, written at once. Logged
        before any of the decisions below.
    --drop PERCENT
        Each host fails to hear this share of the requests (0 to 100, default
        0; decided at random per request and host). A dropped request is
        neither applied nor answered.
    --silent CMD[,CMD...]
        These tunnel commands (1..150) are never applied nor answered.
    --late CMD:N[,CMD:N...]
        Tunnel command CMD is applied and answered only from its N-th attempt
        on (attempts counted per host); earlier attempts are ignored.
        Example: --late 71:2.
    --delay MS
        Every reply leaves MS milliseconds after its request (default 0);
        requests are still heard meanwhile.
    --stop-after N[:MS]
        Each host hears its first N requests (searches and those naming it),
        then nothing at all: a cable pulled mid-operation. With :MS it hears
        again MS milliseconds after the cut (an outage).
    --trailer-version HIGH.LOW
        Version bytes of every tunnel reply trailer (default 7.10, that is
        version 710). 7.2 gives bytes 07 02 (702), which the tool refuses.
    --name N:TEXT
        Host N (1 = the first) calls itself TEXT in its search answers instead
        of "模拟主机N" (any text GBK holds, markup and control characters
        included: tests show it the way a hostile LAN would). May be repeated.
    --help
        Shows this text.

EXAMPLES
    scripts/netns-run quendra-hostsim --hosts 3 --log /tmp/requests.log
    scripts/netns-run quendra-hostsim --reply unicast --silent 37,38 --late 71:2
)";
}

}  // namespace quendra::sim
