#include "link/batch_transfer.h"

namespace quendra {
namespace {

using namespace std::chrono_literals;

// What differs between the six kinds: records, commands and texts.
struct KindInfo {
  ParamGroup group;
  bool isWrite;
  const char* sent;       // progress when the request goes out
  const char* answered;   // progress when the record is answered
  const char* failed;     // InfoLog line of an abandoned record
  const char* allDone;    // summaries
  const char* notAllDone;
};

// In priority order (the order of BatchKind).
const KindInfo kKinds[kBatchKindCount] = {
    {ParamGroup::Channel, false, "正在读取通道%1参数", "通道%1参数读取成功!", "通道%1参数读取失败\r\n",
     "---通道参数读取成功!---", "通道参数读取失败......"},
    {ParamGroup::Channel, true, "正在写入通道%1参数", "通道%1参数写入成功!", "通道%1参数写入失败\r\n",
     "---通道参数写入成功!---", "通道参数写入失败......"},
    {ParamGroup::Relay, false, "正在读取继电器%1参数", "正在读取继电器%1参数", "读取继电器%1参数失败\r\n",
     "---继电器参数读取成功!---", "继电器参数读取失败......"},
    {ParamGroup::Relay, true, "正在写入继电器%1参数", "正在写入继电器%1参数", "写入继电器%1参数失败\r\n",
     "---继电器参数写入成功!---", "继电器参数写入失败......"},
    {ParamGroup::Modbus, false, "正在读取ModBus%1参数", "正在读取ModBus%1参数", "读取ModBus%1参数失败\r\n",
     "---ModBus参数读取成功!---", "ModBus参数读取失败......"},
    {ParamGroup::Modbus, true, "正在写入ModBus%1参数", "正在写入ModBus%1参数", "写入ModBus%1参数失败\r\n",
     "---ModBus参数写入成功!---", "ModBus参数写入失败......"},
};

const KindInfo& infoOf(BatchKind kind) { return kKinds[static_cast<int>(kind)]; }

int recordsOf(BatchKind kind) { return recordCountOf(infoOf(kind).group); }

// Pending at the start, and answered when every record came back.
std::uint32_t fullMaskOf(BatchKind kind) {
  const int n = recordsOf(kind);
  return n >= 32 ? 0xFFFFFFFFu : ((1u << n) - 1u);
}

std::uint8_t commandOf(BatchKind kind, int record) {
  const KindInfo& info = infoOf(kind);
  return info.isWrite ? writeCommandOf(info.group, record) : readCommandOf(info.group, record);
}

QString textOf(const char* pattern, int record) { return QString::fromUtf8(pattern).arg(record + 1); }

std::uint32_t bitOf(int record) { return 1u << record; }

}  // namespace

BatchTransfer::BatchTransfer(ReadFlags& flags, Hooks hooks, QObject* parent)
    : QObject(parent), flags_(flags), hooks_(std::move(hooks)) {
  for (int k = 0; k < kBatchKindCount; ++k)
    attemptTimeout_[k] = infoOf(static_cast<BatchKind>(k)).group == ParamGroup::Channel ? 801ms : 8010ms;
  attemptTimer_.setSingleShot(true);
  attemptTimer_.setTimerType(Qt::PreciseTimer);
  connect(&attemptTimer_, &QTimer::timeout, this, &BatchTransfer::attemptTimedOut);
  stepTimer_.setSingleShot(true);
  stepTimer_.setInterval(0);
  connect(&stepTimer_, &QTimer::timeout, this, &BatchTransfer::step);
}

bool BatchTransfer::startBatch(BatchKind kind) {
  if (masks_.pendingOf(kind) != 0 || activeKind_ == static_cast<int>(kind)) return false;
  masks_.answeredOf(kind) = 0;
  masks_.pendingOf(kind) = fullMaskOf(kind);
  if (activeKind_ < 0) scheduleStep();
  return true;
}

void BatchTransfer::markAnswered(const TunnelCommand& command) {
  if (command.index < 0 || command.index >= recordCountOf(command.group)) return;
  for (int k = 0; k < kBatchKindCount; ++k) {
    const KindInfo& info = kKinds[k];
    if (info.group != command.group || info.isWrite != command.isWrite) continue;
    masks_.answered[k] |= bitOf(command.index);
    if (waiting_ && activeKind_ == k && record_ == command.index) recordAnswered();
    return;
  }
}

void BatchTransfer::stopAll() { masks_.pending.fill(0); }

bool BatchTransfer::running() const {
  if (activeKind_ >= 0) return true;
  for (std::uint32_t p : masks_.pending)
    if (p != 0) return true;
  return false;
}

void BatchTransfer::setAttemptTimeout(BatchKind kind, std::chrono::milliseconds timeout) {
  attemptTimeout_[static_cast<int>(kind)] = timeout;
}

void BatchTransfer::scheduleStep() { stepTimer_.start(); }

// Sends the next pending record of the pass in hand, ends the pass after its
// last record, or begins the pass of the first pending kind.
void BatchTransfer::step() {
  if (waiting_) return;
  if (activeKind_ < 0) {
    for (int k = 0; k < kBatchKindCount && activeKind_ < 0; ++k)
      if (masks_.pending[k] != 0) activeKind_ = k;
    if (activeKind_ < 0) return;  // idle
    record_ = 0;
    retryCount_ = 0;
  }
  const BatchKind kind = activeKind();
  while (record_ < recordsOf(kind) && (masks_.pendingOf(kind) & bitOf(record_)) == 0) ++record_;
  if (record_ >= recordsOf(kind)) {
    finishPass();
    return;
  }
  sendRecord();
}

void BatchTransfer::sendRecord() {
  const BatchKind kind = activeKind();
  const bool channelRead = kind == BatchKind::ChannelRead;
  // A new batch empties InfoLog: a channel read after its first request,
  // the other kinds before it.
  if (record_ == 0 && !channelRead && hooks_.clearInfoLog) hooks_.clearInfoLog();
  if (hooks_.sendRecordRequest) hooks_.sendRecordRequest(commandOf(kind, record_));
  if (channelRead && hooks_.refreshInfoLog) hooks_.refreshInfoLog();
  showProgress(textOf(infoOf(kind).sent, record_));
  if (record_ == 0 && channelRead && hooks_.clearInfoLog) hooks_.clearInfoLog();
  // An answer that came in before this point (during the send, or a late or
  // duplicate reply of an earlier attempt) answers the record at once.
  if (masks_.answeredOf(kind) & bitOf(record_)) {
    recordAnswered();
    return;
  }
  waiting_ = true;
  attemptTimer_.start(attemptTimeout_[activeKind_]);
}

void BatchTransfer::recordAnswered() {
  const BatchKind kind = activeKind();
  waiting_ = false;
  attemptTimer_.stop();
  masks_.pendingOf(kind) &= ~bitOf(record_);
  retryCount_ = 0;
  showProgress(textOf(infoOf(kind).answered, record_));
  ++record_;
  scheduleStep();
}

void BatchTransfer::attemptTimedOut() {
  if (!waiting_) return;
  waiting_ = false;
  const BatchKind kind = activeKind();
  if (++retryCount_ > 3) {
    masks_.pendingOf(kind) &= ~bitOf(record_);
    retryCount_ = 0;
    if (kind == BatchKind::ChannelRead) flags_.channelRead = false;
    if (hooks_.appendInfoLog) hooks_.appendInfoLog(textOf(infoOf(kind).failed, record_));
    if (hooks_.refreshInfoLog) hooks_.refreshInfoLog();
    ++record_;
  }
  // Otherwise the same record again, unless the version gate emptied its bit.
  scheduleStep();
}

void BatchTransfer::finishPass() {
  const BatchKind kind = activeKind();
  const bool all = masks_.answeredOf(kind) == fullMaskOf(kind);
  showProgress(QString::fromUtf8(all ? infoOf(kind).allDone : infoOf(kind).notAllDone));
  switch (kind) {
    case BatchKind::ChannelRead: flags_.channelRead = all; break;
    case BatchKind::RelayRead: if (all) flags_.relayRead = true; break;
    case BatchKind::ModbusRead: if (all) flags_.modbusRead = true; break;
    default: break;
  }
  activeKind_ = -1;
  record_ = 0;
  retryCount_ = 0;
  emit finished(kind, all);
  scheduleStep();  // the next pending kind, if any
}

void BatchTransfer::showProgress(const QString& text) {
  if (hooks_.showProgress) hooks_.showProgress(text);
  emit progressChanged(text);
}

}  // namespace quendra
