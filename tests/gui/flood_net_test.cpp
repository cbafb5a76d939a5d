// Port 1901 on a real LAN hears anything. A sender blasts the window's port
// with malformed datagrams (wrong markers, unknown commands, short headers,
// short search and network answers, tunnel lengths past the data, truncated
// blocks, bad CRCs, wrong start bytes, unknown tunnel commands, data replies
// shorter than their record, empty and oversized datagrams, random bytes)
// interleaved with the valid replies of every group. The window must apply
// every valid reply and nothing else, keep its timers running, keep its
// memory bounded, and show the version-gate warning at most once at a time.
// Runs inside a private network namespace (it binds port 1901).
#include <arpa/inet.h>
#include <malloc.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <random>
#include <set>

#include "app/device_list.h"
#include "app/main_dialog.h"
#include "app/qt_message_notifier.h"
#include "link/frame_crc16.h"
#include "link/tunnel_frame.h"
#include "pages/base_page.h"
#include "pages/base_params.h"
#include "pages/channel_page.h"
#include "pages/channel_params.h"
#include "pages/field_text.h"
#include "pages/gprs_page.h"
#include "pages/gprs_params.h"
#include "pages/led_page.h"
#include "pages/led_params.h"
#include "pages/modbus_page.h"
#include "pages/modbus_params.h"
#include "pages/network_page.h"
#include "pages/network_params.h"
#include "pages/relay_page.h"
#include "pages/relay_params.h"
#include "support/test_support.h"

// Freed blocks are held back by AddressSanitizer (256 MB by default), which
// the resident set would show as growth. Unused in builds without it.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=16"; }
// Bytes the heap hands out now, without the quarantine (AddressSanitizer's
// runtime defines it; otherwise glibc's count is taken).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));

using namespace quendra;
using namespace quendra::test;

namespace {

constexpr std::uint32_t kLoopback = 0x7F000001;
const QString kVersionWarning = QStringLiteral("此版本设备不能使用该软件,请使用其他版本软件");

// Malformed datagrams in the big flood (a few seconds under AddressSanitizer).
constexpr int kFloodCount = 100000;
// Datagrams sent before the sender waits for the window to read them all,
// so the socket's receive queue never overflows.
constexpr int kChunk = 2000;
// Growth allowed from the first quarter of the flood to its end. Keeping a
// copy of every datagram read in the last three quarters would add about
// 20 MB to the heap; the resident set also holds what the allocator keeps.
constexpr long kHeapGrowthLimitKb = 4 * 1024;
constexpr long kRssGrowthLimitKb = 96 * 1024;

// ---- building replies -------------------------------------------------------

Bytes outerReply(std::uint8_t command, ByteView body) {
  Bytes d{OuterFrame::kReplyMarker, 0, 0, command};
  d.insert(d.end(), body.begin(), body.end());
  const std::size_t length = d.size() - 3;
  d[1] = static_cast<std::uint8_t>(length >> 8);
  d[2] = static_cast<std::uint8_t>(length);
  d.push_back(OuterFrame::frameSum(d));
  return d;
}

Mac macOf(std::uint8_t first, int n) {
  return Mac{first, 0x4B, 0x7D, static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 8),
             static_cast<std::uint8_t>(n)};
}

// Offsets 4..21 and the name; `terminated` appends the zero.
Bytes searchAnswer(const Mac& mac, std::uint32_t ip, std::uint16_t version, const std::string& name,
                   bool terminated = true) {
  Bytes body(18, 0);
  putU32LE(body, 4, ip);
  std::copy(mac.begin(), mac.end(), body.begin() + 8);
  putU16LE(body, 14, version);
  body.insert(body.end(), name.begin(), name.end());
  if (terminated) body.push_back(0);
  Bytes d = outerReply(kSearch, body);
  d.pop_back();  // the name runs to the end of the datagram: no sum after it
  return d;
}

Bytes networkAnswer(const Bytes& record) {
  Bytes body(6, 0x11);
  body.insert(body.end(), record.begin(), record.end());
  return outerReply(kReadNetwork, body);
}

// The length field holds the block's length; the block starts at offset 10.
Bytes tunnelDatagram(ByteView block, std::uint8_t outer = kTunnel) {
  Bytes d{OuterFrame::kReplyMarker, static_cast<std::uint8_t>(block.size() >> 8),
          static_cast<std::uint8_t>(block.size()), outer, 0x02, 0x4B, 0x7D, 0, 0, 1};
  d.insert(d.end(), block.begin(), block.end());
  d.push_back(OuterFrame::frameSum(d));
  return d;
}

Bytes tunnelReply(std::uint8_t command, ByteView payload, std::uint8_t high = 7, std::uint8_t low = 10) {
  return tunnelDatagram(TunnelFrame::buildReply(command, payload, high, low));
}

// Rewrites the block's CRC after an edit, so only the edit is wrong.
void resealBlock(Bytes& block) {
  const std::uint16_t crc = FrameCrc16::compute(ByteView(block).first(block.size() - 2));
  block[block.size() - 2] = static_cast<std::uint8_t>(crc);
  block[block.size() - 1] = static_cast<std::uint8_t>(crc >> 8);
}

// ---- the valid replies and what the window must show afterwards ------------

struct ValidReplies {
  std::vector<Bytes> datagrams;
  std::set<QString> macs;  // MAC column texts of the search answers
  std::vector<std::string> longNames;
  NetworkParams network;
  BaseParams base;
  GprsParams gprs;
  LedParams led;
  ChannelRecords channels{};
  RelayRecords relays{};
  ModbusSlotRecords modbus{};
};

ValidReplies validReplies(int searchAnswers) {
  ValidReplies v;
  for (int i = 0; i < searchAnswers; ++i) {
    const Mac mac = macOf(0x02, i + 1);
    const bool unterminated = i % 10 == 9;
    // Every tenth name has no terminator and fills the datagram to 1024 bytes.
    const std::string name = unterminated ? std::string(1024 - 22, static_cast<char>('A' + i % 26))
                                          : "host-" + std::to_string(i);
    v.datagrams.push_back(searchAnswer(mac, 0xC0A80100u + static_cast<std::uint32_t>(i), 700 + i, name, !unterminated));
    v.macs.insert(QString::fromStdString(formatMacDigits(mac)));
    if (unterminated) v.longNames.push_back(name);
  }
  for (std::size_t i = 0; i < NetworkParams::kSize; ++i) v.network.bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
  v.network.setHostAddress(0x0A0B0C0D);
  v.datagrams.push_back(networkAnswer(Bytes(v.network.bytes.begin(), v.network.bytes.end())));

  v.base = BaseParams{0x1234ABCD, 3, 60, 30, 300, 2, 12, 5, 1, 1, 1, 116.25f, 39.5f};
  v.datagrams.push_back(tunnelReply(readCommandOf(ParamGroup::Base), encodeBaseParams(v.base)));
  v.gprs.loginInterval = 11;
  v.gprs.heartbeatInterval = 22;
  v.gprs.dataInterval = 33;
  v.gprs.workType = 2;
  v.gprs.targetAddress = "flood.example";
  v.gprs.targetPort = "5020";
  v.gprs.alarmPhones = {"13800000001", "13800000002", "", "", "13800000005"};
  v.gprs.alarmPhoneMask = 0x13;
  v.gprs.smsInterval = 9;
  v.datagrams.push_back(tunnelReply(readCommandOf(ParamGroup::Gprs), encodeGprsParams(v.gprs)));
  v.led = LedParams{1, 1, 0, 128, 64, 16, 4, 7, "header", "footer"};
  v.datagrams.push_back(tunnelReply(readCommandOf(ParamGroup::Led), encodeLedParams(v.led)));

  for (int k = 0; k < kChannelCount; ++k) {
    ChannelParams& c = v.channels[static_cast<std::size_t>(k)];
    c.dataSource = k + 1;
    c.upperLimit1 = 100.5f + static_cast<float>(k);
    c.lowerLimit1 = -static_cast<float>(k);
    c.coefA1 = 1.25f;
    c.relayUpper1 = static_cast<std::uint8_t>(k % 9);
    c.dataProperty = k % 7;
    c.alarmDelay = static_cast<std::uint16_t>(10 + k);
    c.name1 = "ch" + std::to_string(k + 1);
    c.unit1 = "kPa";
    v.datagrams.push_back(tunnelReply(readCommandOf(ParamGroup::Channel, k), encodeChannelPayload(c)));
  }
  for (int k = 0; k < kRelayCount; ++k) {
    RelayParams& r = v.relays[static_cast<std::size_t>(k)];
    r = RelayParams{static_cast<std::uint8_t>(k % 3), static_cast<std::uint16_t>(100 + k),
                    static_cast<std::uint16_t>(200 + k)};
    v.datagrams.push_back(tunnelReply(readCommandOf(ParamGroup::Relay, k), encodeRelay(r)));
  }
  for (int k = 0; k < kModbusSlotCount; ++k) {
    ModbusSlotParams& s = v.modbus[static_cast<std::size_t>(k)];
    s = ModbusSlotParams{static_cast<std::uint8_t>(k + 1), 1, static_cast<std::uint8_t>(k % 5),
                         static_cast<std::uint16_t>(k * 10), static_cast<std::uint16_t>(k + 2)};
    v.datagrams.push_back(tunnelReply(readCommandOf(ParamGroup::Modbus, k), encodeModbusSlot(s)));
  }
  // Acknowledgements change no record.
  for (std::uint8_t ack : {2, 4, 37, 68, 77, 117, 149}) v.datagrams.push_back(tunnelReply(ack, {}));
  return v;
}

// ---- malformed datagrams ------------------------------------------------------

enum class Kind {
  Empty, Oversize, WrongMarker, UnknownCommand, ShortHeader, ShortSearch, ShortNetwork, LengthPastData,
  LengthZero, TruncatedBlock, BadCrc, WrongStart, UnknownTunnelCommand, ShortDataReply, VersionGate,
  RandomBytes, Count
};

class MalformedSource {
 public:
  explicit MalformedSource(std::uint32_t seed) : random_(seed) {}

  // One malformed datagram; `versionGate` tells whether it trips the gate.
  Bytes next(bool& versionGate) {
    versionGate = false;
    switch (static_cast<Kind>(pick(0, static_cast<int>(Kind::Count) - 1))) {
      case Kind::Empty: return {};
      case Kind::Oversize: {
        // An otherwise valid search answer with a huge unterminated name.
        const std::size_t size = static_cast<std::size_t>(pick(1025, 2000));
        return searchAnswer(macOf(0xEE, pick(0, 0xFFFF)), 1, 1, std::string(size - 22, 'X'), false);
      }
      case Kind::WrongMarker: {
        Bytes d = searchAnswer(macOf(0xEE, pick(0, 0xFFFF)), 1, 1, "bad marker");
        d[0] = static_cast<std::uint8_t>(pick(0, 1) ? OuterFrame::kRequestMarker : pickExcept(0x55));
        return d;
      }
      case Kind::UnknownCommand: {
        Bytes d = searchAnswer(macOf(0xEE, pick(0, 0xFFFF)), 1, 1, "unknown");
        static constexpr std::uint8_t known[] = {kSearch, kReadNetwork, kTunnel, kTunnelAlt};
        do d[3] = static_cast<std::uint8_t>(pick(0, 255));
        while (std::find(std::begin(known), std::end(known), d[3]) != std::end(known));
        return d;
      }
      case Kind::ShortHeader: return randomBytes(static_cast<std::size_t>(pick(1, 3)), true);
      case Kind::ShortSearch: {
        Bytes d = searchAnswer(macOf(0xEE, pick(0, 0xFFFF)), 1, 1, "");
        d.resize(static_cast<std::size_t>(pick(4, 21)));
        return d;
      }
      case Kind::ShortNetwork: {
        Bytes d = networkAnswer(Bytes(NetworkParams::kSize, 0xEE));
        d.resize(static_cast<std::size_t>(pick(4, 301)));
        return d;
      }
      case Kind::LengthPastData: {
        Bytes d = validBlockDatagram();
        const std::size_t block = d.size() - 10;
        const std::size_t claimed = block + static_cast<std::size_t>(pick(1, 60000));
        d[1] = static_cast<std::uint8_t>(claimed >> 8);
        d[2] = static_cast<std::uint8_t>(claimed);
        return d;
      }
      case Kind::LengthZero: {
        Bytes d = validBlockDatagram();
        d[1] = d[2] = 0;
        return d;
      }
      case Kind::TruncatedBlock: {
        // Cut inside the block; the length field says either the old or the new size.
        Bytes d = validBlockDatagram();
        const std::size_t block = d.size() - 11;
        const std::size_t keep = static_cast<std::size_t>(pick(1, static_cast<int>(block) - 1));
        d.resize(10 + keep);
        if (pick(0, 1)) {
          d[1] = static_cast<std::uint8_t>(keep >> 8);
          d[2] = static_cast<std::uint8_t>(keep);
        }
        return d;
      }
      case Kind::BadCrc: {
        Bytes block = validBlock();
        block[static_cast<std::size_t>(pick(0, static_cast<int>(block.size()) - 1))] ^=
            static_cast<std::uint8_t>(pick(1, 255));
        return tunnelDatagram(block, outer());
      }
      case Kind::WrongStart: {
        Bytes block = validBlock();
        block[0] = pickExcept(TunnelFrame::kStartByte);
        resealBlock(block);
        return tunnelDatagram(block, outer());
      }
      case Kind::UnknownTunnelCommand: {
        const std::uint8_t command = pick(0, 1) ? 0 : static_cast<std::uint8_t>(pick(151, 255));
        return tunnelReply(command, randomBytes(static_cast<std::size_t>(pick(0, 200)), false));
      }
      case Kind::ShortDataReply: {
        const auto command = static_cast<std::uint8_t>(pickReadCommand());
        const auto group = classifyTunnelCommand(command)->group;
        const int size = static_cast<int>(payloadSizeOf(group));
        return tunnelReply(command, Bytes(static_cast<std::size_t>(pick(0, size - 1)), 0xEE));
      }
      case Kind::VersionGate: {
        versionGate = true;
        Bytes block = validBlock();
        const std::size_t n = block.size();
        switch (pick(0, 3)) {
          case 0: block[n - 7] = pickExcept(TunnelFrame::kTrailerMarker); break;
          case 1: block[n - 6] = 7; block[n - 5] = static_cast<std::uint8_t>(pick(0, 2)); break;  // 700..702
          case 2: block[n - 6] = 10; block[n - 5] = static_cast<std::uint8_t>(pick(0, 255)); break;  // >= 1000
          default: block[n - 4] = pickExcept(TunnelFrame::kTrailerFixed); break;
        }
        resealBlock(block);
        return tunnelDatagram(block, outer());
      }
      case Kind::RandomBytes:
      case Kind::Count: break;
    }
    // Random bytes; tunnel-shaped ones that would pass the checks by chance are spoiled.
    Bytes d = randomBytes(static_cast<std::size_t>(pick(4, 1024)), true);
    const auto block = OuterFrame::readTunnelBlock(d);
    if (block && TunnelFrame::decodeReply(*block).status != ReplyStatus::Dropped) d[10] ^= 0xFF;
    if (d[0] == OuterFrame::kReplyMarker && (d[3] == kSearch || d[3] == kReadNetwork)) d[3] = 0x7F;
    return d;
  }

 private:
  int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }
  std::uint8_t pickExcept(std::uint8_t value) {
    std::uint8_t b;
    do b = static_cast<std::uint8_t>(pick(0, 255));
    while (b == value);
    return b;
  }
  std::uint8_t outer() { return pick(0, 1) ? kTunnel : kTunnelAlt; }
  int pickReadCommand() {
    static constexpr int reads[] = {1, 3, 5, 20, 36, 69, 76, 85, 116, 150};
    return reads[pick(0, static_cast<int>(std::size(reads)) - 1)];
  }
  Bytes randomBytes(std::size_t size, bool replyMarkerOften) {
    Bytes d(size);
    for (auto& b : d) b = static_cast<std::uint8_t>(pick(0, 255));
    if (replyMarkerOften && !d.empty() && pick(0, 1)) d[0] = OuterFrame::kReplyMarker;
    return d;
  }
  // A block that would be accepted (its payload full of a value no valid reply uses).
  Bytes validBlock() {
    const auto command = static_cast<std::uint8_t>(pickReadCommand());
    const std::size_t size = payloadSizeOf(classifyTunnelCommand(command)->group);
    return TunnelFrame::buildReply(command, Bytes(size, 0xEE), 7, 10);
  }
  Bytes validBlockDatagram() { return tunnelDatagram(validBlock(), outer()); }

  std::mt19937 random_;
};

// ---- the sender and the process counters -------------------------------------

// Resident set size in kB.
long residentKb() {
  QFile f(QStringLiteral("/proc/self/status"));
  if (!f.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : f.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
  return -1;
}

long heapInUseKb() {
  if (__sanitizer_get_current_allocated_bytes) return static_cast<long>(__sanitizer_get_current_allocated_bytes() / 1024);
  return static_cast<long>(mallinfo2().uordblks / 1024);
}

// Datagrams the kernel dropped for a full receive queue (this namespace only).
long udpReceiveBufferErrors() {
  QFile f(QStringLiteral("/proc/net/snmp"));
  if (!f.open(QIODevice::ReadOnly)) return 0;
  QList<QByteArray> names;
  for (const QByteArray& line : f.readAll().split('\n')) {
    if (!line.startsWith("Udp: ")) continue;
    const QList<QByteArray> fields = line.mid(5).split(' ');
    if (names.isEmpty()) {
      names = fields;
      continue;
    }
    const auto at = names.indexOf("RcvbufErrors");
    return at >= 0 && at < fields.size() ? fields[at].toLong() : 0;
  }
  return 0;
}

class Sender {
 public:
  Sender() {
    fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(kDevicePort);
    to.sin_addr.s_addr = htonl(kLoopback);
    if (fd_ < 0 || ::connect(fd_, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) qFatal("no sender socket");
  }
  ~Sender() { ::close(fd_); }
  bool send(const Bytes& d) { return ::send(fd_, d.data(), d.size(), 0) == static_cast<ssize_t>(d.size()); }

 private:
  int fd_ = -1;
};

// Sends the plan chunk by chunk from a zero timer, so the window's event loop
// runs between chunks; the next chunk leaves once the window has read every
// datagram of the last one that the transport hands over (1 to 1024 bytes).
class Flood : public QObject {
 public:
  Flood(MainDialog& dialog, std::vector<Bytes> plan) : plan_(std::move(plan)) {
    connect(&dialog.link(), &UdpLink::datagramReceived, this, [this] { ++handedOver_; });
    connect(&pump_, &QTimer::timeout, this, [this] { tick(); });
    dropsAtStart_ = udpReceiveBufferErrors();
  }

  // Runs the event loop until every datagram has been read.
  bool run(int timeoutMs) {
    QEventLoop loop;
    done_ = [&loop] { loop.quit(); };
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    pump_.start(0);
    loop.exec();
    pump_.stop();
    done_ = nullptr;
    return finished();
  }

  std::function<void(std::size_t sent)> onChunkSent;
  bool finished() const { return next_ == plan_.size() && drained(); }
  // Every datagram sent so far has been read but one: the one whose handling
  // is still on the stack (e.g. the one that opened a message box).
  bool waitingForOne() const { return handedOver_ + drops() + 1 == expected_; }
  int ticks() const { return ticks_; }
  long maxHandedBetweenTicks() const { return maxGap_; }
  long drops() const { return udpReceiveBufferErrors() - dropsAtStart_; }
  bool sendFailed() const { return sendFailed_; }

 private:
  bool drained() const { return handedOver_ + drops() >= expected_; }

  void tick() {
    ++ticks_;
    maxGap_ = std::max(maxGap_, handedOver_ - handedAtLastTick_);
    handedAtLastTick_ = handedOver_;
    if (!drained()) return;
    if (next_ == plan_.size()) {
      if (done_) done_();
      return;
    }
    const std::size_t end = std::min(plan_.size(), next_ + kChunk);
    for (; next_ < end; ++next_) {
      const Bytes& d = plan_[next_];
      if (!sender_.send(d)) sendFailed_ = true;
      if (!d.empty() && d.size() <= UdpLink::kMaxDatagram) ++expected_;
    }
    if (onChunkSent) onChunkSent(next_);
  }

  std::vector<Bytes> plan_;
  Sender sender_;
  QTimer pump_;
  std::function<void()> done_;
  std::size_t next_ = 0;
  long expected_ = 0;
  long handedOver_ = 0;
  long handedAtLastTick_ = 0;
  long maxGap_ = 0;
  long dropsAtStart_ = 0;
  int ticks_ = 0;
  bool sendFailed_ = false;
};

// Valid replies at random places among `malformed` malformed datagrams.
std::vector<Bytes> mix(const std::vector<Bytes>& valid, int malformed, std::uint32_t seed, int& versionGates) {
  MalformedSource source(seed);
  std::vector<Bytes> plan;
  plan.reserve(valid.size() + static_cast<std::size_t>(malformed));
  versionGates = 0;
  for (int i = 0; i < malformed; ++i) {
    bool gate = false;
    plan.push_back(source.next(gate));
    versionGates += gate;
  }
  std::mt19937 random(seed + 1);
  for (const Bytes& d : valid) {
    const auto at = std::uniform_int_distribution<std::size_t>(0, plan.size())(random);
    plan.insert(plan.begin() + static_cast<std::ptrdiff_t>(at), d);
  }
  return plan;
}

struct Window {
  explicit Window(Notifier& notifier) : dialog(notifier, [] { return std::vector<std::uint32_t>{kLoopback}; }) {
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog)) qFatal("window not exposed");
  }
  MainDialog dialog;
};

QList<QMessageBox*> openBoxes(const QString& text) {
  QList<QMessageBox*> boxes;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible() && box->text() == text) boxes << box;
  return boxes;
}

bool allPendingEmpty(const BatchMasks& masks) {
  return std::all_of(masks.pending.begin(), masks.pending.end(), [](std::uint32_t p) { return p == 0; });
}

// The window's own message boxes, with every call counted and the batch
// masks seen at that moment (the version gate empties them first).
class CountingNotifier : public Notifier {
 public:
  void notify(const QString& title, const QString& text, NoticeIcon icon) override {
    if (text == kVersionWarning) {
      ++versionWarnings;
      if (dialog && !allPendingEmpty(dialog->batch().masks())) ++pendingLeft;
    } else {
      others << title + QStringLiteral(": ") + text;
    }
    boxes.notify(title, text, icon);
  }
  QtMessageNotifier boxes;
  MainDialog* dialog = nullptr;
  int versionWarnings = 0;
  int pendingLeft = 0;
  QStringList others;
};

}  // namespace

class FloodNetTest : public QObject {
  Q_OBJECT
 private slots:
  void floodAppliesEveryValidReplyAndNothingElse() {
    RecordingNotifier notifier;
    Window w(notifier);
    MainDialog& dialog = w.dialog;
    const ValidReplies valid = validReplies(40);
    int versionGates = 0;
    const std::vector<Bytes> plan = mix(valid.datagrams, kFloodCount, 20240601u, versionGates);

    // A timer of the window's own keeps firing during the flood.
    int heartbeats = 0;
    QTimer heartbeat;
    connect(&heartbeat, &QTimer::timeout, [&] { ++heartbeats; });
    heartbeat.start(1);

    Flood flood(dialog, plan);
    long rssAtQuarter = -1;
    long heapAtQuarter = -1;
    int heartbeatsAtQuarter = -1;
    flood.onChunkSent = [&](std::size_t sent) {
      if (rssAtQuarter < 0 && sent >= plan.size() / 4) {
        rssAtQuarter = residentKb();
        heapAtQuarter = heapInUseKb();
        heartbeatsAtQuarter = heartbeats;
      }
    };
    QVERIFY2(flood.run(240000), "the window did not read the flood in time");
    const long rssAtEnd = residentKb();
    const long heapAtEnd = heapInUseKb();
    QVERIFY(!flood.sendFailed());
    QCOMPARE(flood.drops(), 0L);

    // The window kept running its timers: between two turns of the sender's
    // zero timer it read at most two wake-ups' worth of datagrams (256 each),
    // not a whole chunk.
    QVERIFY(heartbeats > heartbeatsAtQuarter);
    QVERIFY2(flood.maxHandedBetweenTicks() <= 2 * 256,
             qPrintable(QStringLiteral("%1 datagrams read in one turn").arg(flood.maxHandedBetweenTicks())));

    // Memory: bounded once the flood is under way.
    QVERIFY(rssAtQuarter > 0 && rssAtEnd > 0 && heapAtQuarter > 0);
    QVERIFY2(heapAtEnd - heapAtQuarter <= kHeapGrowthLimitKb,
             qPrintable(QStringLiteral("heap in use grew from %1 kB to %2 kB").arg(heapAtQuarter).arg(heapAtEnd)));
    QVERIFY2(rssAtEnd - rssAtQuarter <= kRssGrowthLimitKb,
             qPrintable(QStringLiteral("resident set grew from %1 kB to %2 kB").arg(rssAtQuarter).arg(rssAtEnd)));

    // Every search answer is a row, and nothing else is.
    DeviceList* list = dialog.deviceList();
    QCOMPARE(list->topLevelItemCount(), int(valid.macs.size()));
    std::set<QString> macs;
    std::vector<std::string> longNames;
    for (int r = 0; r < list->topLevelItemCount(); ++r) {
      macs.insert(list->topLevelItem(r)->text(DeviceList::MacColumn));
      const QString name = list->topLevelItem(r)->text(DeviceList::NameColumn);
      if (name.size() > 100) longNames.push_back(name.toStdString());
    }
    QVERIFY(macs == valid.macs);
    std::sort(longNames.begin(), longNames.end());
    std::vector<std::string> expectedLong = valid.longNames;
    std::sort(expectedLong.begin(), expectedLong.end());
    QVERIFY(longNames == expectedLong);

    // Every record holds the one valid reply of its command.
    const ReadFlags& flags = dialog.flags();
    QVERIFY(flags.networkRead && flags.baseRead && flags.gprsRead && flags.ledRead);
    QVERIFY(dialog.networkPage()->params().bytes == valid.network.bytes);
    QVERIFY(dialog.basePage()->params() == valid.base);
    QVERIFY(dialog.gprsPage()->params() == valid.gprs);
    QVERIFY(dialog.ledPage()->params() == valid.led);
    for (int k = 0; k < kChannelCount; ++k)
      QVERIFY2(dialog.channelPage()->record(k) == valid.channels[std::size_t(k)], qPrintable(QString::number(k)));
    for (int k = 0; k < kRelayCount; ++k)
      QVERIFY(dialog.relayPage()->recordPayload(k) == encodeRelay(valid.relays[std::size_t(k)]));
    for (int k = 0; k < kModbusSlotCount; ++k)
      QVERIFY(dialog.modbusPage()->recordPayload(k) == encodeModbusSlot(valid.modbus[std::size_t(k)]));
    // No batch ran, so no batch flag was set by the replies alone.
    QVERIFY(!flags.channelRead && !flags.relayRead && !flags.modbusRead);

    // One warning per refused block, and no other message.
    QVERIFY(versionGates > 0);
    QCOMPARE(notifier.notices.size(), versionGates);
    for (const auto& n : notifier.notices) QCOMPARE(n.text, kVersionWarning);
    qInfo("%zu datagrams (%d version-gate refusals); %d sender turns; at most %ld read per turn; "
          "heap in use %ld kB at a quarter, %ld kB at the end; resident set %ld kB, %ld kB",
          plan.size(), versionGates, flood.ticks(), flood.maxHandedBetweenTicks(), heapAtQuarter, heapAtEnd,
          rssAtQuarter, rssAtEnd);
  }

  // With the window's real message boxes: refusals keep coming while the
  // warning is open. They must open no second box (each box is a nested
  // event loop) and must still empty every pending batch.
  void versionWarningsNeverStack() {
    CountingNotifier notifier;
    Window w(notifier);
    MainDialog& dialog = w.dialog;
    notifier.dialog = &dialog;
    const ValidReplies valid = validReplies(10);

    // Refusals only, then the valid replies among malformed ones.
    std::vector<Bytes> plan;
    MalformedSource source(7u);
    int versionGates = 0;
    while (versionGates < 3000) {
      bool gate = false;
      Bytes d = source.next(gate);
      if (gate) {
        plan.push_back(std::move(d));
        ++versionGates;
      }
    }
    int mixedGates = 0;
    const std::vector<Bytes> rest = mix(valid.datagrams, 5000, 8u, mixedGates);
    plan.insert(plan.end(), rest.begin(), rest.end());
    versionGates += mixedGates;

    Flood flood(dialog, plan);
    // A probe on the event loop: counts the open warnings, starts a batch
    // while one is open, and closes a box once more refusals have come in.
    int maxOpen = 0;
    int boxesSeen = 0;
    int batchesStartedUnderBox = 0;
    int refusalsAtOpen = -1;
    QTimer probe;
    connect(&probe, &QTimer::timeout, [&] {
      const QList<QMessageBox*> open = openBoxes(kVersionWarning);
      maxOpen = std::max(maxOpen, int(open.size()));
      if (open.isEmpty()) return;
      QMessageBox* box = open.first();
      if (!box->property("seen").toBool()) {  // a new box (it may reuse the last one's address)
        box->setProperty("seen", true);
        ++boxesSeen;
        refusalsAtOpen = notifier.versionWarnings;
      }
      if (dialog.batch().startBatch(BatchKind::ChannelRead)) ++batchesStartedUnderBox;
      // Closed after 200 more refusals, or when the sender waits for the
      // datagram that opened it (it counts once the box returns).
      if (notifier.versionWarnings - refusalsAtOpen >= 200 || flood.waitingForOne()) box->accept();
    });
    probe.start(0);
    QVERIFY2(flood.run(240000), "the window did not read the flood in time");
    QCOMPARE(flood.drops(), 0L);
    QTRY_VERIFY(openBoxes(kVersionWarning).isEmpty());
    probe.stop();

    QCOMPARE(notifier.versionWarnings, versionGates);  // every refusal reached the window's notifier
    QCOMPARE(maxOpen, 1);
    QVERIFY(boxesSeen >= 1);
    QVERIFY2(boxesSeen < versionGates / 100, qPrintable(QString::number(boxesSeen)));
    QVERIFY(batchesStartedUnderBox > 0);
    QCOMPARE(notifier.pendingLeft, 0);
    QVERIFY2(notifier.others.isEmpty(), qPrintable(notifier.others.join(QLatin1Char('\n'))));

    // The valid replies were applied all the same.
    QCOMPARE(dialog.deviceList()->topLevelItemCount(), int(valid.macs.size()));
    QVERIFY(dialog.basePage()->params() == valid.base);
    QVERIFY(dialog.ledPage()->params() == valid.led);
    for (int k = 0; k < kRelayCount; ++k)
      QVERIFY(dialog.relayPage()->recordPayload(k) == encodeRelay(valid.relays[std::size_t(k)]));
    qInfo("%d refusals, %d boxes shown, %d batches started while a box was open", versionGates, boxesSeen,
          batchesStartedUnderBox);
  }
};

QTEST_MAIN(FloodNetTest)
#include "flood_net_test.moc"
