#pragma once
// The words the window shows for the fields of a configuration: each field's
// label as on its page (the field's accessible name there), and the name of
// each record ("通道5", "槽位7", ...). Shared by the window's compare dialog and
// the command line's diff; translated like every text of the window.
#include <QString>

#include "records/record_fields.h"

namespace quendra {

QString fieldLabel(ParamGroup group, std::string_view key);
// "网口参数", "基础参数", ..., and "通道5", "槽位7", "继电器3" for batch records.
QString recordLabel(ParamGroup group, int index);
// A whole group as its tab names it: "网口参数", ..., "通道参数", "ModBus参数", "继电器参数".
QString groupLabel(ParamGroup group);

}  // namespace quendra
