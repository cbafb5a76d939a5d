#include "fields/field_description.h"

#include "config/field_path.h"
#include "fields/field_labels.h"
#include "records/channel_field_rules.h"
#include "records/host_identity.h"

namespace quendra {
namespace {

FieldInput inputOf(ParamGroup group, const RecordField& field) {
  if (isCheckField(group, field.key)) return FieldInput::Check;
  if (!fieldChoices(group, field.key).isEmpty()) return FieldInput::List;
  switch (field.kind) {
    case FieldKind::Unsigned: return FieldInput::Integer;
    case FieldKind::Real: return FieldInput::Real;
    case FieldKind::Text: return FieldInput::Text;
    case FieldKind::Hex32: return FieldInput::Hex32;
    case FieldKind::Ipv4: return FieldInput::Ipv4;
  }
  return FieldInput::Text;
}

ChannelFieldRule channelRule(ChannelField field) {
  std::vector<int> rows, rowsAllowingAll, switchRows;
  for (int row = 0; row <= 6; ++row) {
    const auto plain = channelFieldStates(row, false), all = channelFieldStates(row, true);
    if (plain && plain->isEnabled(field)) rows.push_back(row);
    if (all && all->isEnabled(field)) rowsAllowingAll.push_back(row);
    if (all && all->switchTexts) switchRows.push_back(row);
  }
  const bool gated = rows != rowsAllowingAll;
  ChannelFieldRule rule{gated ? rowsAllowingAll : rows, gated, std::nullopt};
  if (field == ChannelField::Unit1 || field == ChannelField::Unit2) rule.switchTextRows = switchRows;
  return rule;
}

}  // namespace

FieldDescription describeField(ParamGroup group, const RecordField& field) {
  FieldDescription d;
  d.key = QString::fromUtf8(field.key.data(), qsizetype(field.key.size()));
  d.path = fieldPathPattern(group, field);
  d.label = fieldLabel(group, field.key);
  d.input = inputOf(group, field);
  d.identity = isIdentityField(group, field);
  if (field.kind == FieldKind::Unsigned) d.max = field.max;
  if (field.kind == FieldKind::Text) d.maxBytes = field.maxBytes;
  d.choices = fieldChoices(group, field.key);
  if (group == ParamGroup::Channel)
    if (const auto rule = channelRuleField(field.key)) d.enabled = channelRule(*rule);
  return d;
}

}  // namespace quendra
