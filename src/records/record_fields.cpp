#include "records/record_fields.h"

#include <array>
#include <vector>

namespace quendra {
namespace {

using Get = std::function<FieldValue(const HostConfig&, int)>;
using Set = std::function<void(HostConfig&, int, const FieldValue&)>;

std::uint32_t number(const FieldValue& v) { return std::get<std::uint32_t>(v); }
float real(const FieldValue& v) { return static_cast<float>(std::get<double>(v)); }
const std::string& text(const FieldValue& v) { return std::get<std::string>(v); }

// Fields of a record type R, found in a configuration by `of`.
template <typename R>
struct Table {
  using Of = std::function<R&(HostConfig&, int)>;
  Of of;
  std::vector<RecordField> fields;

  static const R& read(const Of& of, const HostConfig& c, int i) { return of(const_cast<HostConfig&>(c), i); }

  template <typename M>
  Table& unsignedField(std::string_view key, M R::*member, std::uint32_t max) {
    fields.push_back({key, FieldKind::Unsigned, max, 0,
                      [of = of, member, max](const HostConfig& c, int i) -> FieldValue {
                        // a list row of -1 (no selection) travels as its low byte
                        return static_cast<std::uint32_t>(read(of, c, i).*member) & max;
                      },
                      [of = of, member](HostConfig& c, int i, const FieldValue& v) {
                        of(c, i).*member = static_cast<M>(number(v));
                      }});
    return *this;
  }
  Table& realField(std::string_view key, float R::*member) {
    fields.push_back({key, FieldKind::Real, 0, 0,
                      [of = of, member](const HostConfig& c, int i) -> FieldValue { return double(read(of, c, i).*member); },
                      [of = of, member](HostConfig& c, int i, const FieldValue& v) { of(c, i).*member = real(v); }});
    return *this;
  }
  Table& textField(std::string_view key, std::string R::*member, std::size_t maxBytes) {
    fields.push_back({key, FieldKind::Text, 0, maxBytes,
                      [of = of, member](const HostConfig& c, int i) -> FieldValue { return read(of, c, i).*member; },
                      [of = of, member](HostConfig& c, int i, const FieldValue& v) { of(c, i).*member = text(v); }});
    return *this;
  }
  Table& custom(RecordField field) {
    fields.push_back(std::move(field));
    return *this;
  }
};

template <typename R>
std::function<R&(HostConfig&, int)> single(R HostConfig::*member) {
  return [member](HostConfig& c, int) -> R& { return c.*member; };
}
template <typename R, std::size_t N>
std::function<R&(HostConfig&, int)> indexed(std::array<R, N> HostConfig::*member) {
  return [member](HostConfig& c, int i) -> R& { return (c.*member).at(static_cast<std::size_t>(i)); };
}

// The network record keeps its whole image; its fields are its accessors.
std::vector<RecordField> networkFields() {
  using A = std::uint32_t (NetworkParams::*)() const;
  using SetA = void (NetworkParams::*)(std::uint32_t);
  const auto address = [](std::string_view key, A get, SetA set) {
    return RecordField{key, FieldKind::Ipv4, 0xFFFFFFFF, 0,
                       [get](const HostConfig& c, int) -> FieldValue { return (c.network.*get)(); },
                       [set](HostConfig& c, int, const FieldValue& v) { (c.network.*set)(number(v)); }};
  };
  std::vector<RecordField> f;
  // The page's list: 0 static address, 1 DHCP/automatic (bit 7 of byte 0 clear).
  f.push_back({"addressMode", FieldKind::Unsigned, 1, 0,
               [](const HostConfig& c, int) -> FieldValue { return c.network.staticAddress() ? 0u : 1u; },
               [](HostConfig& c, int, const FieldValue& v) { c.network.setStaticAddress(number(v) != 1); }});
  f.push_back(address("hostAddress", &NetworkParams::hostAddress, &NetworkParams::setHostAddress));
  f.push_back(address("gateway", &NetworkParams::gateway, &NetworkParams::setGateway));
  f.push_back(address("subnetMask", &NetworkParams::subnetMask, &NetworkParams::setSubnetMask));
  f.push_back({"maxConnections", FieldKind::Unsigned, 0xFF, 0,
               [](const HostConfig& c, int) -> FieldValue { return std::uint32_t{c.network.maxConnections()}; },
               [](HostConfig& c, int, const FieldValue& v) { c.network.setMaxConnections(std::uint8_t(number(v))); }});
  for (int s = 0; s < NetworkParams::kServerCount; ++s) {
    static const std::string_view keys[2][3] = {{"sourcePort1", "listenPort1", "serverAddress1"},
                                                {"sourcePort2", "listenPort2", "serverAddress2"}};
    f.push_back({keys[s][0], FieldKind::Unsigned, 0xFFFF, 0,
                 [s](const HostConfig& c, int) -> FieldValue { return std::uint32_t{c.network.sourcePort(s)}; },
                 [s](HostConfig& c, int, const FieldValue& v) { c.network.setSourcePort(s, std::uint16_t(number(v))); }});
    f.push_back({keys[s][1], FieldKind::Unsigned, 0xFFFF, 0,
                 [s](const HostConfig& c, int) -> FieldValue { return std::uint32_t{c.network.listenPort(s)}; },
                 [s](HostConfig& c, int, const FieldValue& v) { c.network.setListenPort(s, std::uint16_t(number(v))); }});
    f.push_back({keys[s][2], FieldKind::Text, 0, NetworkParams::kServerAddressMaxText,
                 [s](const HostConfig& c, int) -> FieldValue { return c.network.serverAddress(s); },
                 [s](HostConfig& c, int, const FieldValue& v) { c.network.setServerAddress(s, text(v)); }});
  }
  return f;
}

std::vector<RecordField> baseFields() {
  Table<BaseParams> t{single(&HostConfig::base), {}};
  t.custom({"terminalAddress", FieldKind::Hex32, 0xFFFFFFFF, 0,
            [](const HostConfig& c, int) -> FieldValue { return c.base.terminalAddress; },
            [](HostConfig& c, int, const FieldValue& v) { c.base.terminalAddress = number(v); }})
      .unsignedField("serverCount", &BaseParams::serverCount, 0xFF)
      .unsignedField("loginInterval", &BaseParams::loginInterval, 0xFFFF)
      .unsignedField("heartbeatInterval", &BaseParams::heartbeatInterval, 0xFFFF)
      .unsignedField("dataInterval", &BaseParams::dataInterval, 0xFFFF)
      .unsignedField("modbusBaud", &BaseParams::modbusBaud, 0xFF)
      .unsignedField("enabledChannelCount", &BaseParams::enabledChannelCount, 0xFF)
      .unsignedField("normalRecordInterval", &BaseParams::normalRecordInterval, 0xFFFF)
      .unsignedField("alarmRecordInterval", &BaseParams::alarmRecordInterval, 0xFFFF)
      .unsignedField("storageType", &BaseParams::storageType, 0xFF)
      .unsignedField("coordinateEnabled", &BaseParams::coordinateEnabled, 0xFF)
      .realField("longitude", &BaseParams::longitude)
      .realField("latitude", &BaseParams::latitude);
  return t.fields;
}

std::vector<RecordField> gprsFields() {
  Table<GprsParams> t{single(&HostConfig::gprs), {}};
  t.unsignedField("loginInterval", &GprsParams::loginInterval, 0xFFFF)
      .unsignedField("heartbeatInterval", &GprsParams::heartbeatInterval, 0xFFFF)
      .unsignedField("dataInterval", &GprsParams::dataInterval, 0xFFFF)
      .textField("targetAddress", &GprsParams::targetAddress, GprsParams::kAddressBytes)
      .textField("targetPort", &GprsParams::targetPort, GprsParams::kPortBytes)
      .unsignedField("alarmPhoneMask", &GprsParams::alarmPhoneMask, 0xFF);
  for (int n = 0; n < GprsParams::kPhoneCount; ++n) {
    static const std::string_view keys[] = {"alarmPhone1", "alarmPhone2", "alarmPhone3", "alarmPhone4",
                                            "alarmPhone5"};
    t.custom({keys[n], FieldKind::Text, 0, GprsParams::kPhoneBytes,
              [n](const HostConfig& c, int) -> FieldValue { return c.gprs.alarmPhones[n]; },
              [n](HostConfig& c, int, const FieldValue& v) { c.gprs.alarmPhones[n] = text(v); }});
  }
  t.unsignedField("smsInterval", &GprsParams::smsInterval, 0xFF).unsignedField("workType", &GprsParams::workType, 0xFF);
  return t.fields;
}

std::vector<RecordField> ledFields() {
  Table<LedParams> t{single(&HostConfig::led), {}};
  t.unsignedField("showDataTable", &LedParams::showDataTable, 0xFF)
      .unsignedField("headerEnabled", &LedParams::headerEnabled, 0xFF)
      .unsignedField("footerEnabled", &LedParams::footerEnabled, 0xFF)
      .unsignedField("sizeX", &LedParams::sizeX, 0xFFFF)
      .unsignedField("sizeY", &LedParams::sizeY, 0xFFFF)
      .unsignedField("channelCount", &LedParams::channelCount, 0xFFFF)
      .unsignedField("columnCount", &LedParams::columnCount, 0xFFFF)
      .unsignedField("refreshInterval", &LedParams::refreshInterval, 0xFFFF)
      .textField("headerText", &LedParams::headerText, LedParams::kTextBytes)
      .textField("footerText", &LedParams::footerText, LedParams::kTextBytes);
  return t.fields;
}

std::vector<RecordField> channelFields() {
  Table<ChannelParams> t{indexed(&HostConfig::channels), {}};
  t.unsignedField("dataSource", &ChannelParams::dataSource, 0xFF)
      .realField("upperLimit1", &ChannelParams::upperLimit1)
      .realField("lowerLimit1", &ChannelParams::lowerLimit1)
      .realField("coefA1", &ChannelParams::coefA1)
      .realField("coefB1", &ChannelParams::coefB1)
      .realField("hysteresis1", &ChannelParams::hysteresis1)
      .textField("name1", &ChannelParams::name1, kChannelNameBytes)
      .textField("unit1", &ChannelParams::unit1, kChannelUnitBytes)
      .realField("upperLimit2", &ChannelParams::upperLimit2)
      .realField("lowerLimit2", &ChannelParams::lowerLimit2)
      .realField("coefA2", &ChannelParams::coefA2)
      .realField("coefB2", &ChannelParams::coefB2)
      .realField("hysteresis2", &ChannelParams::hysteresis2)
      .textField("name2", &ChannelParams::name2, kChannelNameBytes)
      .textField("unit2", &ChannelParams::unit2, kChannelUnitBytes)
      .unsignedField("relayUpper1", &ChannelParams::relayUpper1, 0xFF)
      .unsignedField("relayLower1", &ChannelParams::relayLower1, 0xFF)
      .unsignedField("relayUpper2", &ChannelParams::relayUpper2, 0xFF)
      .unsignedField("relayLower2", &ChannelParams::relayLower2, 0xFF)
      .unsignedField("dataProperty", &ChannelParams::dataProperty, 0xFF)
      .unsignedField("alarmDelay", &ChannelParams::alarmDelay, 0xFFFF)
      .unsignedField("smsOnAlarm1", &ChannelParams::smsOnAlarm1, 0xFF)
      .unsignedField("smsOnAlarm2", &ChannelParams::smsOnAlarm2, 0xFF)
      .unsignedField("smsOnRestore1", &ChannelParams::smsOnRestore1, 0xFF)
      .unsignedField("smsOnRestore2", &ChannelParams::smsOnRestore2, 0xFF);
  return t.fields;
}

std::vector<RecordField> modbusFields() {
  Table<ModbusSlotParams> t{indexed(&HostConfig::modbus), {}};
  t.unsignedField("slaveAddress", &ModbusSlotParams::slaveAddress, 0xFF)
      .unsignedField("slotEnabled", &ModbusSlotParams::slotEnabled, 0xFF)
      .unsignedField("deviceType", &ModbusSlotParams::deviceType, 0xFF)
      .unsignedField("registerStart", &ModbusSlotParams::registerStart, 0xFFFF)
      .unsignedField("registerCount", &ModbusSlotParams::registerCount, 0xFFFF);
  return t.fields;
}

std::vector<RecordField> relayFields() {
  Table<RelayParams> t{indexed(&HostConfig::relays), {}};
  t.unsignedField("workMode", &RelayParams::workMode, 0xFF)
      .unsignedField("startInterval", &RelayParams::startInterval, 0xFFFF)
      .unsignedField("startDuration", &RelayParams::startDuration, 0xFFFF);
  return t.fields;
}

const std::array<std::vector<RecordField>, kParamGroupCount>& allFields() {
  static const std::array<std::vector<RecordField>, kParamGroupCount> all = [] {
    std::array<std::vector<RecordField>, kParamGroupCount> a;
    a[static_cast<int>(ParamGroup::Network)] = networkFields();
    a[static_cast<int>(ParamGroup::Base)] = baseFields();
    a[static_cast<int>(ParamGroup::Gprs)] = gprsFields();
    a[static_cast<int>(ParamGroup::Led)] = ledFields();
    a[static_cast<int>(ParamGroup::Channel)] = channelFields();
    a[static_cast<int>(ParamGroup::Modbus)] = modbusFields();
    a[static_cast<int>(ParamGroup::Relay)] = relayFields();
    return a;
  }();
  return all;
}

}  // namespace

std::span<const RecordField> fieldsOf(ParamGroup group) { return allFields()[static_cast<int>(group)]; }

const RecordField* findField(ParamGroup group, std::string_view key) {
  for (const RecordField& f : fieldsOf(group))
    if (f.key == key) return &f;
  return nullptr;
}

std::optional<FieldProblem> checkField(const RecordField& field, const FieldValue& value) {
  switch (field.kind) {
    case FieldKind::Unsigned:
    case FieldKind::Hex32:
    case FieldKind::Ipv4:
      if (!std::holds_alternative<std::uint32_t>(value)) return FieldProblem::WrongType;
      if (std::get<std::uint32_t>(value) > field.max) return FieldProblem::OutOfRange;
      return std::nullopt;
    case FieldKind::Real:
      if (!std::holds_alternative<double>(value)) return FieldProblem::WrongType;
      return std::nullopt;
    case FieldKind::Text:
      if (!std::holds_alternative<std::string>(value)) return FieldProblem::WrongType;
      if (std::get<std::string>(value).size() > field.maxBytes) return FieldProblem::TooLong;
      return std::nullopt;
  }
  return FieldProblem::WrongType;
}

}  // namespace quendra
