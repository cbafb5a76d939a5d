#include "app/meaning_text.h"

#include "link/gbk.h"
#include "records/field_text.h"

namespace quendra {
namespace {

QString mac(const Mac& m) { return QString::fromStdString(formatMacDigits(m)); }
QString from(const Mac& m) { return QStringLiteral(" 来自 ") + mac(m); }
QString to(const Mac& m) { return QStringLiteral(" 发往 ") + mac(m); }
QString version(std::uint16_t v) { return QStringLiteral(" 版本%1").arg(v); }

}  // namespace

QString recordText(const TunnelCommand& c) {
  const int number = c.index + 1;
  switch (c.group) {
    case ParamGroup::Network: return QStringLiteral("网口参数");
    case ParamGroup::Base: return QStringLiteral("基础参数");
    case ParamGroup::Gprs: return QStringLiteral("GPRS参数");
    case ParamGroup::Led: return QStringLiteral("LED屏参数");
    case ParamGroup::Channel: return QStringLiteral("通道%1").arg(number);
    case ParamGroup::Modbus: return QStringLiteral("ModBus槽位%1").arg(number);
    case ParamGroup::Relay: return QStringLiteral("继电器%1").arg(number);
  }
  return {};
}

QString malformedReasonText(MalformedReason reason) {
  switch (reason) {
    case MalformedReason::None: return {};
    case MalformedReason::TooShort: return QStringLiteral("数据报太短");
    case MalformedReason::WrongMarker: return QStringLiteral("帧头错误");
    case MalformedReason::WrongLength: return QStringLiteral("长度字段错误");
    case MalformedReason::BadFrameSum: return QStringLiteral("校验和错误");
    case MalformedReason::UnknownOuterCommand: return QStringLiteral("未知命令");
    case MalformedReason::EmptyTunnel: return QStringLiteral("隧道长度为0");
    case MalformedReason::TunnelPastDatagram: return QStringLiteral("隧道长度超出数据报");
    case MalformedReason::BadCrc: return QStringLiteral("CRC错误");
    case MalformedReason::WrongStartByte: return QStringLiteral("隧道起始字节错误");
    case MalformedReason::UnknownTunnelCommand: return QStringLiteral("未知隧道命令");
    case MalformedReason::RecordTooShort: return QStringLiteral("记录不完整");
  }
  return {};
}

QString meaningText(const DatagramMeaning& m) {
  switch (m.kind) {
    case MeaningKind::SearchRequest: return QStringLiteral("搜索请求");
    case MeaningKind::NetworkReadRequest: return QStringLiteral("读取网络参数") + to(m.mac);
    case MeaningKind::NetworkWriteRequest: return QStringLiteral("写入网络参数") + to(m.mac);
    case MeaningKind::FactoryResetRequest: return QStringLiteral("网络参数恢复出厂") + to(m.mac);
    case MeaningKind::MacWriteRequest: return QStringLiteral("写入MAC ") + mac(m.newMac) + to(m.mac);
    case MeaningKind::TunnelRequest:
      return (m.tunnel->isWrite ? QStringLiteral("隧道写入 ") : QStringLiteral("隧道读取 ")) + recordText(*m.tunnel) +
             to(m.mac);
    case MeaningKind::SearchAnswer:
      return QStringLiteral("搜索应答") + from(m.mac) + QStringLiteral(" IP ") +
             QString::fromStdString(formatDottedAddress(m.search.ip)) + version(m.search.firmwareVersion) +
             QStringLiteral(" 名称 ") + QString::fromStdString(gbkToUtf8(m.search.nameGbk));
    case MeaningKind::NetworkAnswer: return QStringLiteral("网络参数应答") + from(m.mac);
    case MeaningKind::TunnelDataReply:
      return QStringLiteral("隧道数据 ") + recordText(*m.tunnel) + from(m.mac) + version(m.hostVersion);
    case MeaningKind::TunnelWriteAck:
      return QStringLiteral("写入确认 ") + recordText(*m.tunnel) + from(m.mac) + version(m.hostVersion);
    case MeaningKind::VersionRefused: return QStringLiteral("版本被拒绝") + from(m.mac) + version(m.hostVersion);
    case MeaningKind::Malformed: return QStringLiteral("格式错误，已丢弃：") + malformedReasonText(m.reason);
  }
  return {};
}

}  // namespace quendra
