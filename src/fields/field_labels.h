#pragma once
// The words the window shows for the fields of a configuration: each field's
// label as on its page (the field's accessible name there), the rows of its
// drop-down list, and the name of each record ("通道5", "槽位7", ...). Shared by
// the pages, the window's dialogs, the report and the command line; translated
// like every text of the window.
#include <QString>
#include <QStringList>

#include "records/record_fields.h"

namespace quendra {

QString fieldLabel(ParamGroup group, std::string_view key);
// The label without its closing colon, for a column header or within a sentence.
QString fieldHeading(ParamGroup group, std::string_view key);
// "网口参数", "基础参数", ..., and "通道5", "槽位7", "继电器3" for batch records.
QString recordLabel(ParamGroup group, int index);
// A whole group as its tab names it: "网口参数", ..., "通道参数", "ModBus参数", "继电器参数".
QString groupLabel(ParamGroup group);

// The rows of the field's drop-down list as its page shows them, row k
// standing for the value k; empty for a field typed into an edit. A check box
// has the two rows "否" and "是".
QStringList fieldChoices(ParamGroup group, std::string_view key);
bool isCheckField(ParamGroup group, std::string_view key);
// A value as its page shows it: a list's row text (a value beyond the list as
// its number), anything else as fieldText writes it.
QString fieldDisplayText(ParamGroup group, const RecordField& field, const FieldValue& value);

}  // namespace quendra
