#include "config/field_labels.h"

#include <QCoreApplication>

namespace quendra {
namespace {

struct Label {
  ParamGroup group;
  const char* key;
  const char* text;
};

#define L(group, key, text) {ParamGroup::group, key, QT_TRANSLATE_NOOP("FieldLabels", text)}
const Label kLabels[] = {
    L(Network, "addressMode", "IP获取方式："), L(Network, "hostAddress", "静态IP："),
    L(Network, "gateway", "网关地址："), L(Network, "subnetMask", "子网掩码："),
    L(Network, "maxConnections", "最大连接数量："), L(Network, "sourcePort1", "服务器1 源端口："),
    L(Network, "listenPort1", "服务器1 监听端口："), L(Network, "serverAddress1", "服务器1 服务器地址："),
    L(Network, "sourcePort2", "服务器2 源端口："), L(Network, "listenPort2", "服务器2 监听端口："),
    L(Network, "serverAddress2", "服务器2 服务器地址："),
    L(Base, "terminalAddress", "终端地址："), L(Base, "serverCount", "服务器数量："),
    L(Base, "loginInterval", "登陆帧间隔时间："), L(Base, "heartbeatInterval", "心跳包间隔时间："),
    L(Base, "dataInterval", "数据帧间隔时间："), L(Base, "modbusBaud", "ModBus通信波特率："),
    L(Base, "enabledChannelCount", "通道启用数量："), L(Base, "normalRecordInterval", "正常数据记录间隔(分钟)："),
    L(Base, "alarmRecordInterval", "告警数据记录间隔(分钟)："), L(Base, "storageType", "存储类型："),
    L(Base, "coordinateEnabled", "启用"), L(Base, "longitude", "经度："), L(Base, "latitude", "维度："),
    L(Gprs, "loginInterval", "登陆帧间隔："), L(Gprs, "heartbeatInterval", "心跳帧间隔："),
    L(Gprs, "dataInterval", "数据帧间隔："), L(Gprs, "targetAddress", "GPRS目标地址或域名："),
    L(Gprs, "targetPort", "GPRS目标端口："), L(Gprs, "alarmPhoneMask", "告警目标手机号码(已填写)"),
    L(Gprs, "alarmPhone1", "告警目标手机号码1："), L(Gprs, "alarmPhone2", "告警目标手机号码2："),
    L(Gprs, "alarmPhone3", "告警目标手机号码3："), L(Gprs, "alarmPhone4", "告警目标手机号码4："),
    L(Gprs, "alarmPhone5", "告警目标手机号码5："), L(Gprs, "smsInterval", "报警短信发送间隔："),
    L(Gprs, "workType", "GPRS工作类型："),
    L(Led, "showDataTable", "数据表格是否显示"), L(Led, "headerEnabled", "标头 使用"),
    L(Led, "footerEnabled", "标尾 使用"), L(Led, "sizeX", "LED屏X尺寸："), L(Led, "sizeY", "LED屏Y尺寸："),
    L(Led, "channelCount", "通道显示数量："), L(Led, "columnCount", "列数："),
    L(Led, "refreshInterval", "LED屏刷新间隔(S)："), L(Led, "headerText", "标头："), L(Led, "footerText", "标尾："),
    L(Channel, "dataSource", "通道数据来源："), L(Channel, "upperLimit1", "模拟量1(温度)上限："),
    L(Channel, "lowerLimit1", "模拟量1(温度)下限："), L(Channel, "coefA1", "模拟量1 A:"),
    L(Channel, "coefB1", "模拟量1 B:"), L(Channel, "hysteresis1", "模拟量1(温度)控制回差："),
    L(Channel, "name1", "模拟量1名称："), L(Channel, "unit1", "模拟量1单位："),
    L(Channel, "upperLimit2", "模拟量2(湿度)上限："), L(Channel, "lowerLimit2", "模拟量2(湿度)下限："),
    L(Channel, "coefA2", "模拟量2 A:"), L(Channel, "coefB2", "模拟量2 B:"),
    L(Channel, "hysteresis2", "模拟量2(湿度)控制回差："), L(Channel, "name2", "模拟量2名称："),
    L(Channel, "unit2", "模拟量2单位："), L(Channel, "relayUpper1", "上限1 关联继电器："),
    L(Channel, "relayLower1", "下限1 关联继电器："), L(Channel, "relayUpper2", "上限2 关联继电器："),
    L(Channel, "relayLower2", "下限2 关联继电器："), L(Channel, "dataProperty", "数据属性："),
    L(Channel, "alarmDelay", "报警延时(S)："), L(Channel, "smsOnAlarm1", "模拟量1 发生允许短信报警"),
    L(Channel, "smsOnAlarm2", "模拟量2 发生允许短信报警"), L(Channel, "smsOnRestore1", "模拟量1 复归允许短信报警"),
    L(Channel, "smsOnRestore2", "模拟量2 复归允许短信报警"),
    L(Modbus, "slaveAddress", "ModBus从站地址："), L(Modbus, "slotEnabled", "启用"),
    L(Modbus, "deviceType", "ModBus设备类型："), L(Modbus, "registerStart", "寄存器起始地址："),
    L(Modbus, "registerCount", "寄存器个数："),
    L(Relay, "workMode", "继电器工作模式："), L(Relay, "startInterval", "继电器启动间隔："),
    L(Relay, "startDuration", "继电器启动时长："),
};
#undef L

const char* const kGroupNames[kParamGroupCount] = {
    QT_TRANSLATE_NOOP("FieldLabels", "网口参数"),  QT_TRANSLATE_NOOP("FieldLabels", "基础参数"),
    QT_TRANSLATE_NOOP("FieldLabels", "GPRS参数"),  QT_TRANSLATE_NOOP("FieldLabels", "LED屏参数"),
    QT_TRANSLATE_NOOP("FieldLabels", "通道%1"),    QT_TRANSLATE_NOOP("FieldLabels", "槽位%1"),
    QT_TRANSLATE_NOOP("FieldLabels", "继电器%1"),
};

const char* const kGroupTitles[kParamGroupCount] = {
    QT_TRANSLATE_NOOP("FieldLabels", "网口参数"),  QT_TRANSLATE_NOOP("FieldLabels", "基础参数"),
    QT_TRANSLATE_NOOP("FieldLabels", "GPRS参数"),  QT_TRANSLATE_NOOP("FieldLabels", "LED屏参数"),
    QT_TRANSLATE_NOOP("FieldLabels", "通道参数"),  QT_TRANSLATE_NOOP("FieldLabels", "ModBus参数"),
    QT_TRANSLATE_NOOP("FieldLabels", "继电器参数"),
};

QString tr(const char* text) { return QCoreApplication::translate("FieldLabels", text); }

}  // namespace

QString fieldLabel(ParamGroup group, std::string_view key) {
  for (const Label& l : kLabels)
    if (l.group == group && key == l.key) return tr(l.text);
  return QString::fromUtf8(key.data(), qsizetype(key.size()));
}

QString groupLabel(ParamGroup group) { return tr(kGroupTitles[static_cast<int>(group)]); }

QString recordLabel(ParamGroup group, int index) {
  const QString name = tr(kGroupNames[static_cast<int>(group)]);
  return isBatchGroup(group) ? name.arg(index + 1) : name;
}

}  // namespace quendra
