#pragma once
// A field described whole, so that a form built elsewhere (the browser page
// through quendra-cli fields) shows and checks it the way the window does:
// its path, how it is entered, its range or byte limit, its label and list
// rows in the installed language, and on a channel the data-property rows in
// which the channel page lets the operator edit it.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

#include "records/record_fields.h"

namespace quendra {

enum class FieldInput { Check, List, Integer, Real, Text, Hex32, Ipv4 };

// The data-property rows (0..6) in which the channel page enables the field.
struct ChannelFieldRule {
  std::vector<int> dataPropertyRows;
  bool needsAllowAll = false;  // those rows only with "允许编辑所有参数" ticked
  // The unit fields: the rows in which the page shows alarm and restore texts in their place.
  std::optional<std::vector<int>> switchTextRows;
};

struct FieldDescription {
  QString key;
  QString path;  // fieldPathPattern: "channels[k].upperLimit1"
  QString label;
  FieldInput input = FieldInput::Text;
  bool identity = false;                 // the host's address or terminal address
  std::optional<std::uint32_t> max;      // integers: 0..max
  std::optional<std::size_t> maxBytes;   // texts: GBK bytes
  QStringList choices;                   // list rows, row k standing for the value k
  std::optional<ChannelFieldRule> enabled;
};

FieldDescription describeField(ParamGroup group, const RecordField& field);

}  // namespace quendra
