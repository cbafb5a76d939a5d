#pragma once
// A datagram's meaning in one line of the window's words, for the traffic
// view and its text export: "搜索应答 来自 024B7D000003 ...", "隧道读取 通道5 发往 ...",
// "格式错误，已丢弃：CRC错误".
#include <QString>

#include "link/datagram_meaning.h"

namespace quendra {

QString meaningText(const DatagramMeaning& meaning);
// "CRC错误", "长度超出数据报", ...
QString malformedReasonText(MalformedReason reason);
// "通道5", "继电器2", "ModBus槽位3", "基础参数"
QString recordText(const TunnelCommand& command);

}  // namespace quendra
