#include "app/meaning_text.h"

#include <QCoreApplication>

#include "link/gbk.h"
#include "records/field_text.h"

namespace quendra {
namespace {

// The context of these words in the translation (lupdate reads it from here).
struct MeaningText {
  Q_DECLARE_TR_FUNCTIONS(MeaningText)
};

QString mac(const Mac& m) { return QString::fromStdString(formatMacDigits(m)); }

}  // namespace

QString recordText(const TunnelCommand& c) {
  const int number = c.index + 1;
  switch (c.group) {
    case ParamGroup::Network: return MeaningText::tr("网口参数");
    case ParamGroup::Base: return MeaningText::tr("基础参数");
    case ParamGroup::Gprs: return MeaningText::tr("GPRS参数");
    case ParamGroup::Led: return MeaningText::tr("LED屏参数");
    case ParamGroup::Channel: return MeaningText::tr("通道%1").arg(number);
    case ParamGroup::Modbus: return MeaningText::tr("ModBus槽位%1").arg(number);
    case ParamGroup::Relay: return MeaningText::tr("继电器%1").arg(number);
  }
  return {};
}

QString malformedReasonText(MalformedReason reason) {
  switch (reason) {
    case MalformedReason::None: return {};
    case MalformedReason::TooShort: return MeaningText::tr("数据报太短");
    case MalformedReason::WrongMarker: return MeaningText::tr("帧头错误");
    case MalformedReason::WrongLength: return MeaningText::tr("长度字段错误");
    case MalformedReason::BadFrameSum: return MeaningText::tr("校验和错误");
    case MalformedReason::UnknownOuterCommand: return MeaningText::tr("未知命令");
    case MalformedReason::EmptyTunnel: return MeaningText::tr("隧道长度为0");
    case MalformedReason::TunnelPastDatagram: return MeaningText::tr("隧道长度超出数据报");
    case MalformedReason::BadCrc: return MeaningText::tr("CRC错误");
    case MalformedReason::WrongStartByte: return MeaningText::tr("隧道起始字节错误");
    case MalformedReason::UnknownTunnelCommand: return MeaningText::tr("未知隧道命令");
    case MalformedReason::RecordTooShort: return MeaningText::tr("记录不完整");
  }
  return {};
}

QString meaningText(const DatagramMeaning& m) {
  switch (m.kind) {
    case MeaningKind::SearchRequest: return MeaningText::tr("搜索请求");
    case MeaningKind::NetworkReadRequest: return MeaningText::tr("读取网络参数 发往 %1").arg(mac(m.mac));
    case MeaningKind::NetworkWriteRequest: return MeaningText::tr("写入网络参数 发往 %1").arg(mac(m.mac));
    case MeaningKind::FactoryResetRequest: return MeaningText::tr("网络参数恢复出厂 发往 %1").arg(mac(m.mac));
    case MeaningKind::MacWriteRequest: return MeaningText::tr("写入MAC %1 发往 %2").arg(mac(m.newMac), mac(m.mac));
    case MeaningKind::TunnelRequest:
      return (m.tunnel->isWrite ? MeaningText::tr("隧道写入 %1 发往 %2") : MeaningText::tr("隧道读取 %1 发往 %2"))
          .arg(recordText(*m.tunnel), mac(m.mac));
    case MeaningKind::SearchAnswer:
      return MeaningText::tr("搜索应答 来自 %1 IP %2 版本%3 名称 %4")
          .arg(mac(m.mac), QString::fromStdString(formatDottedAddress(m.search.ip)),
               QString::number(m.search.firmwareVersion), QString::fromStdString(gbkToUtf8(m.search.nameGbk)));
    case MeaningKind::NetworkAnswer: return MeaningText::tr("网络参数应答 来自 %1").arg(mac(m.mac));
    case MeaningKind::TunnelDataReply:
      return MeaningText::tr("隧道数据 %1 来自 %2 版本%3")
          .arg(recordText(*m.tunnel), mac(m.mac), QString::number(m.hostVersion));
    case MeaningKind::TunnelWriteAck:
      return MeaningText::tr("写入确认 %1 来自 %2 版本%3")
          .arg(recordText(*m.tunnel), mac(m.mac), QString::number(m.hostVersion));
    case MeaningKind::VersionRefused:
      return MeaningText::tr("版本被拒绝 来自 %1 版本%2").arg(mac(m.mac), QString::number(m.hostVersion));
    case MeaningKind::Malformed: return MeaningText::tr("格式错误，已丢弃：%1").arg(malformedReasonText(m.reason));
  }
  return {};
}

}  // namespace quendra
