#include "fields/field_labels.h"

#include <QCoreApplication>

#include "config/field_json.h"

namespace quendra {
namespace {

struct Label {
  ParamGroup group;
  const char* key;
  const char* text;
};

// Each text marked for lupdate, which reads no macro arguments.
const Label kLabels[] = {
    {ParamGroup::Network, "addressMode", QT_TRANSLATE_NOOP("FieldLabels", "IP获取方式：")},
    {ParamGroup::Network, "hostAddress", QT_TRANSLATE_NOOP("FieldLabels", "静态IP：")},
    {ParamGroup::Network, "gateway", QT_TRANSLATE_NOOP("FieldLabels", "网关地址：")},
    {ParamGroup::Network, "subnetMask", QT_TRANSLATE_NOOP("FieldLabels", "子网掩码：")},
    {ParamGroup::Network, "maxConnections", QT_TRANSLATE_NOOP("FieldLabels", "最大连接数量：")},
    {ParamGroup::Network, "sourcePort1", QT_TRANSLATE_NOOP("FieldLabels", "服务器1 源端口：")},
    {ParamGroup::Network, "listenPort1", QT_TRANSLATE_NOOP("FieldLabels", "服务器1 监听端口：")},
    {ParamGroup::Network, "serverAddress1", QT_TRANSLATE_NOOP("FieldLabels", "服务器1 服务器地址：")},
    {ParamGroup::Network, "sourcePort2", QT_TRANSLATE_NOOP("FieldLabels", "服务器2 源端口：")},
    {ParamGroup::Network, "listenPort2", QT_TRANSLATE_NOOP("FieldLabels", "服务器2 监听端口：")},
    {ParamGroup::Network, "serverAddress2", QT_TRANSLATE_NOOP("FieldLabels", "服务器2 服务器地址：")},
    {ParamGroup::Base, "terminalAddress", QT_TRANSLATE_NOOP("FieldLabels", "终端地址：")},
    {ParamGroup::Base, "serverCount", QT_TRANSLATE_NOOP("FieldLabels", "服务器数量：")},
    {ParamGroup::Base, "loginInterval", QT_TRANSLATE_NOOP("FieldLabels", "登陆帧间隔时间：")},
    {ParamGroup::Base, "heartbeatInterval", QT_TRANSLATE_NOOP("FieldLabels", "心跳包间隔时间：")},
    {ParamGroup::Base, "dataInterval", QT_TRANSLATE_NOOP("FieldLabels", "数据帧间隔时间：")},
    {ParamGroup::Base, "modbusBaud", QT_TRANSLATE_NOOP("FieldLabels", "ModBus通信波特率：")},
    {ParamGroup::Base, "enabledChannelCount", QT_TRANSLATE_NOOP("FieldLabels", "通道启用数量：")},
    {ParamGroup::Base, "normalRecordInterval", QT_TRANSLATE_NOOP("FieldLabels", "正常数据记录间隔(分钟)：")},
    {ParamGroup::Base, "alarmRecordInterval", QT_TRANSLATE_NOOP("FieldLabels", "告警数据记录间隔(分钟)：")},
    {ParamGroup::Base, "storageType", QT_TRANSLATE_NOOP("FieldLabels", "存储类型：")},
    {ParamGroup::Base, "coordinateEnabled", QT_TRANSLATE_NOOP("FieldLabels", "启用")},
    {ParamGroup::Base, "longitude", QT_TRANSLATE_NOOP("FieldLabels", "经度：")},
    {ParamGroup::Base, "latitude", QT_TRANSLATE_NOOP("FieldLabels", "维度：")},
    {ParamGroup::Gprs, "loginInterval", QT_TRANSLATE_NOOP("FieldLabels", "登陆帧间隔：")},
    {ParamGroup::Gprs, "heartbeatInterval", QT_TRANSLATE_NOOP("FieldLabels", "心跳帧间隔：")},
    {ParamGroup::Gprs, "dataInterval", QT_TRANSLATE_NOOP("FieldLabels", "数据帧间隔：")},
    {ParamGroup::Gprs, "targetAddress", QT_TRANSLATE_NOOP("FieldLabels", "GPRS目标地址或域名：")},
    {ParamGroup::Gprs, "targetPort", QT_TRANSLATE_NOOP("FieldLabels", "GPRS目标端口：")},
    {ParamGroup::Gprs, "alarmPhoneMask", QT_TRANSLATE_NOOP("FieldLabels", "告警目标手机号码(已填写)")},
    {ParamGroup::Gprs, "alarmPhone1", QT_TRANSLATE_NOOP("FieldLabels", "告警目标手机号码1：")},
    {ParamGroup::Gprs, "alarmPhone2", QT_TRANSLATE_NOOP("FieldLabels", "告警目标手机号码2：")},
    {ParamGroup::Gprs, "alarmPhone3", QT_TRANSLATE_NOOP("FieldLabels", "告警目标手机号码3：")},
    {ParamGroup::Gprs, "alarmPhone4", QT_TRANSLATE_NOOP("FieldLabels", "告警目标手机号码4：")},
    {ParamGroup::Gprs, "alarmPhone5", QT_TRANSLATE_NOOP("FieldLabels", "告警目标手机号码5：")},
    {ParamGroup::Gprs, "smsInterval", QT_TRANSLATE_NOOP("FieldLabels", "报警短信发送间隔：")},
    {ParamGroup::Gprs, "workType", QT_TRANSLATE_NOOP("FieldLabels", "GPRS工作类型：")},
    {ParamGroup::Led, "showDataTable", QT_TRANSLATE_NOOP("FieldLabels", "数据表格是否显示")},
    {ParamGroup::Led, "headerEnabled", QT_TRANSLATE_NOOP("FieldLabels", "标头 使用")},
    {ParamGroup::Led, "footerEnabled", QT_TRANSLATE_NOOP("FieldLabels", "标尾 使用")},
    {ParamGroup::Led, "sizeX", QT_TRANSLATE_NOOP("FieldLabels", "LED屏X尺寸：")},
    {ParamGroup::Led, "sizeY", QT_TRANSLATE_NOOP("FieldLabels", "LED屏Y尺寸：")},
    {ParamGroup::Led, "channelCount", QT_TRANSLATE_NOOP("FieldLabels", "通道显示数量：")},
    {ParamGroup::Led, "columnCount", QT_TRANSLATE_NOOP("FieldLabels", "列数：")},
    {ParamGroup::Led, "refreshInterval", QT_TRANSLATE_NOOP("FieldLabels", "LED屏刷新间隔(S)：")},
    {ParamGroup::Led, "headerText", QT_TRANSLATE_NOOP("FieldLabels", "标头：")},
    {ParamGroup::Led, "footerText", QT_TRANSLATE_NOOP("FieldLabels", "标尾：")},
    {ParamGroup::Channel, "dataSource", QT_TRANSLATE_NOOP("FieldLabels", "通道数据来源：")},
    {ParamGroup::Channel, "upperLimit1", QT_TRANSLATE_NOOP("FieldLabels", "模拟量1(温度)上限：")},
    {ParamGroup::Channel, "lowerLimit1", QT_TRANSLATE_NOOP("FieldLabels", "模拟量1(温度)下限：")},
    {ParamGroup::Channel, "coefA1", QT_TRANSLATE_NOOP("FieldLabels", "模拟量1 A:")},
    {ParamGroup::Channel, "coefB1", QT_TRANSLATE_NOOP("FieldLabels", "模拟量1 B:")},
    {ParamGroup::Channel, "hysteresis1", QT_TRANSLATE_NOOP("FieldLabels", "模拟量1(温度)控制回差：")},
    {ParamGroup::Channel, "name1", QT_TRANSLATE_NOOP("FieldLabels", "模拟量1名称：")},
    {ParamGroup::Channel, "unit1", QT_TRANSLATE_NOOP("FieldLabels", "模拟量1单位：")},
    {ParamGroup::Channel, "upperLimit2", QT_TRANSLATE_NOOP("FieldLabels", "模拟量2(湿度)上限：")},
    {ParamGroup::Channel, "lowerLimit2", QT_TRANSLATE_NOOP("FieldLabels", "模拟量2(湿度)下限：")},
    {ParamGroup::Channel, "coefA2", QT_TRANSLATE_NOOP("FieldLabels", "模拟量2 A:")},
    {ParamGroup::Channel, "coefB2", QT_TRANSLATE_NOOP("FieldLabels", "模拟量2 B:")},
    {ParamGroup::Channel, "hysteresis2", QT_TRANSLATE_NOOP("FieldLabels", "模拟量2(湿度)控制回差：")},
    {ParamGroup::Channel, "name2", QT_TRANSLATE_NOOP("FieldLabels", "模拟量2名称：")},
    {ParamGroup::Channel, "unit2", QT_TRANSLATE_NOOP("FieldLabels", "模拟量2单位：")},
    {ParamGroup::Channel, "relayUpper1", QT_TRANSLATE_NOOP("FieldLabels", "上限1 关联继电器：")},
    {ParamGroup::Channel, "relayLower1", QT_TRANSLATE_NOOP("FieldLabels", "下限1 关联继电器：")},
    {ParamGroup::Channel, "relayUpper2", QT_TRANSLATE_NOOP("FieldLabels", "上限2 关联继电器：")},
    {ParamGroup::Channel, "relayLower2", QT_TRANSLATE_NOOP("FieldLabels", "下限2 关联继电器：")},
    {ParamGroup::Channel, "dataProperty", QT_TRANSLATE_NOOP("FieldLabels", "数据属性：")},
    {ParamGroup::Channel, "alarmDelay", QT_TRANSLATE_NOOP("FieldLabels", "报警延时(S)：")},
    {ParamGroup::Channel, "smsOnAlarm1", QT_TRANSLATE_NOOP("FieldLabels", "模拟量1 发生允许短信报警")},
    {ParamGroup::Channel, "smsOnAlarm2", QT_TRANSLATE_NOOP("FieldLabels", "模拟量2 发生允许短信报警")},
    {ParamGroup::Channel, "smsOnRestore1", QT_TRANSLATE_NOOP("FieldLabels", "模拟量1 复归允许短信报警")},
    {ParamGroup::Channel, "smsOnRestore2", QT_TRANSLATE_NOOP("FieldLabels", "模拟量2 复归允许短信报警")},
    {ParamGroup::Modbus, "slaveAddress", QT_TRANSLATE_NOOP("FieldLabels", "ModBus从站地址：")},
    {ParamGroup::Modbus, "slotEnabled", QT_TRANSLATE_NOOP("FieldLabels", "启用")},
    {ParamGroup::Modbus, "deviceType", QT_TRANSLATE_NOOP("FieldLabels", "ModBus设备类型：")},
    {ParamGroup::Modbus, "registerStart", QT_TRANSLATE_NOOP("FieldLabels", "寄存器起始地址：")},
    {ParamGroup::Modbus, "registerCount", QT_TRANSLATE_NOOP("FieldLabels", "寄存器个数：")},
    {ParamGroup::Relay, "workMode", QT_TRANSLATE_NOOP("FieldLabels", "继电器工作模式：")},
    {ParamGroup::Relay, "startInterval", QT_TRANSLATE_NOOP("FieldLabels", "继电器启动间隔：")},
    {ParamGroup::Relay, "startDuration", QT_TRANSLATE_NOOP("FieldLabels", "继电器启动时长：")},
};

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

// `pattern` ("继电器%1") for n = first..last.
QStringList numbered(const char* pattern, int first, int last) {
  const QString text = tr(pattern);
  QStringList rows;
  for (int n = first; n <= last; ++n) rows << text.arg(n);
  return rows;
}

QStringList texts(std::initializer_list<const char*> list) {
  QStringList rows;
  for (const char* t : list) rows << tr(t);
  return rows;
}

// The 147 sources of a channel; the row is the stored dataSource.
QStringList dataSourceRows() {
  QStringList rows = numbered(QT_TRANSLATE_NOOP("FieldLabels", "ModBus槽位%1"), 1, 32) +
                     numbered(QT_TRANSLATE_NOOP("FieldLabels", "无线槽位%1"), 1, 32);
  rows += texts({QT_TRANSLATE_NOOP("FieldLabels", "机载温湿度"), QT_TRANSLATE_NOOP("FieldLabels", "机载大气压力"),
                 QT_TRANSLATE_NOOP("FieldLabels", "机载光照度"), QT_TRANSLATE_NOOP("FieldLabels", "机载交流电压"),
                 QT_TRANSLATE_NOOP("FieldLabels", "机载直流电压")});
  rows += numbered(QT_TRANSLATE_NOOP("FieldLabels", "机载4-20mA电流%1"), 1, 3);
  rows += texts({QT_TRANSLATE_NOOP("FieldLabels", "机载水浸状态")});
  rows += numbered(QT_TRANSLATE_NOOP("FieldLabels", "外部开关量%1"), 1, 4);
  rows += texts({QT_TRANSLATE_NOOP("FieldLabels", "本机剩余电量"), QT_TRANSLATE_NOOP("FieldLabels", "本机供电状态"),
                 QT_TRANSLATE_NOOP("FieldLabels", "当前降雨量"), QT_TRANSLATE_NOOP("FieldLabels", "上一日降雨量"),
                 QT_TRANSLATE_NOOP("FieldLabels", "瞬时雨量"), QT_TRANSLATE_NOOP("FieldLabels", "累计降雨量")});
  rows += numbered(QT_TRANSLATE_NOOP("FieldLabels", "ModBus保留槽位%1"), 1, 32);
  rows += numbered(QT_TRANSLATE_NOOP("FieldLabels", "无线%1剩余电量"), 1, 32);
  return rows;
}

bool isKey(std::string_view key, std::initializer_list<std::string_view> keys) {
  for (std::string_view k : keys)
    if (k == key) return true;
  return false;
}

}  // namespace

bool isCheckField(ParamGroup group, std::string_view key) {
  switch (group) {
    case ParamGroup::Base: return key == "coordinateEnabled";
    case ParamGroup::Led: return isKey(key, {"showDataTable", "headerEnabled", "footerEnabled"});
    case ParamGroup::Channel: return isKey(key, {"smsOnAlarm1", "smsOnAlarm2", "smsOnRestore1", "smsOnRestore2"});
    case ParamGroup::Modbus: return key == "slotEnabled";
    default: return false;
  }
}

QStringList fieldChoices(ParamGroup group, std::string_view key) {
  if (isCheckField(group, key)) return texts({QT_TRANSLATE_NOOP("FieldLabels", "否"), QT_TRANSLATE_NOOP("FieldLabels", "是")});
  using G = ParamGroup;
  if (group == G::Network && key == "addressMode")
    return texts({QT_TRANSLATE_NOOP("FieldLabels", "StaticIP"), QT_TRANSLATE_NOOP("FieldLabels", "DHCP/autoIP")});
  if (group == G::Base && key == "modbusBaud") return {QStringLiteral("2400"), QStringLiteral("4800"), QStringLiteral("9600")};
  if (group == G::Base && key == "storageType")
    // Two rows read "关闭": the row, not the text, is the stored value.
    return texts({QT_TRANSLATE_NOOP("FieldLabels", "关闭"), QT_TRANSLATE_NOOP("FieldLabels", "关闭"),
                  QT_TRANSLATE_NOOP("FieldLabels", "开启"), QT_TRANSLATE_NOOP("FieldLabels", "自动")});
  if (group == G::Gprs && key == "workType")
    return texts({QT_TRANSLATE_NOOP("FieldLabels", "传输模式"), QT_TRANSLATE_NOOP("FieldLabels", "短信报警模式"),
                  QT_TRANSLATE_NOOP("FieldLabels", "传输与短信报警同时模式")});
  if (group == G::Channel && key == "dataSource") return dataSourceRows();
  if (group == G::Channel && key == "dataProperty")
    return texts({QT_TRANSLATE_NOOP("FieldLabels", "模拟量1启用模拟量2启用"), QT_TRANSLATE_NOOP("FieldLabels", "模拟量1启用模拟量2禁用"),
                  QT_TRANSLATE_NOOP("FieldLabels", "模拟量1禁用模拟量2启用"), QT_TRANSLATE_NOOP("FieldLabels", "32位无符号"),
                  QT_TRANSLATE_NOOP("FieldLabels", "32位有符号"), QT_TRANSLATE_NOOP("FieldLabels", "浮点型数据"),
                  QT_TRANSLATE_NOOP("FieldLabels", "开关量类型")});
  if (group == G::Channel && isKey(key, {"relayUpper1", "relayLower1", "relayUpper2", "relayLower2"}))
    return texts({QT_TRANSLATE_NOOP("FieldLabels", "无")}) + numbered(QT_TRANSLATE_NOOP("FieldLabels", "继电器%1"), 1, 8);
  if (group == G::Modbus && key == "deviceType")
    return texts({QT_TRANSLATE_NOOP("FieldLabels", "温湿度变送器"), QT_TRANSLATE_NOOP("FieldLabels", "K17控制器"),
                  QT_TRANSLATE_NOOP("FieldLabels", "空调控制器"), QT_TRANSLATE_NOOP("FieldLabels", "20WLux光照"),
                  QT_TRANSLATE_NOOP("FieldLabels", "通用采集设备"), QT_TRANSLATE_NOOP("FieldLabels", "通用控制器")});
  if (group == G::Relay && key == "workMode")
    return texts({QT_TRANSLATE_NOOP("FieldLabels", "远程控制"), QT_TRANSLATE_NOOP("FieldLabels", "自动控制"),
                  QT_TRANSLATE_NOOP("FieldLabels", "定时控制")});
  return {};
}

QString fieldDisplayText(ParamGroup group, const RecordField& field, const FieldValue& value) {
  if (const auto* number = std::get_if<std::uint32_t>(&value)) {
    const QStringList choices = fieldChoices(group, field.key);
    if (*number < static_cast<std::uint32_t>(choices.size())) return choices[static_cast<qsizetype>(*number)];
  }
  return fieldText(field, value);
}

QString fieldLabel(ParamGroup group, std::string_view key) {
  for (const Label& l : kLabels)
    if (l.group == group && key == l.key) return tr(l.text);
  return QString::fromUtf8(key.data(), qsizetype(key.size()));
}

QString fieldHeading(ParamGroup group, std::string_view key) {
  QString label = fieldLabel(group, key);
  while (label.endsWith(QChar(0xFF1A)) || label.endsWith(QLatin1Char(':'))) label.chop(1);
  return label.trimmed();
}

QString groupLabel(ParamGroup group) { return tr(kGroupTitles[static_cast<int>(group)]); }

QString recordLabel(ParamGroup group, int index) {
  const QString name = tr(kGroupNames[static_cast<int>(group)]);
  return isBatchGroup(group) ? name.arg(index + 1) : name;
}

}  // namespace quendra
