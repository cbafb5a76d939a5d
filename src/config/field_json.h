#pragma once
// Field values in configuration files and on screen: numbers as numbers,
// texts as UTF-8, the terminal address as 8 hexadecimal digits, addresses as
// dotted text.
#include <QJsonValue>
#include <QString>
#include <optional>
#include <variant>

#include "config/config_file.h"

namespace quendra {

// The value as JSON; undefined for a float that is not a finite number (the
// image then carries it alone).
QJsonValue fieldToJson(const RecordField& field, const FieldValue& value);
// The value a JSON value gives the field, or why it cannot.
std::variant<FieldValue, ConfigFileError::Problem> fieldFromJson(const RecordField& field, const QJsonValue& json);
// The value a cell of text gives the field (a table, a CSV file, a typed
// cell): the same values a configuration file takes, numbers written as
// decimal text (blanks around them allowed), or why it cannot.
std::variant<FieldValue, ConfigFileError::Problem> fieldFromText(const RecordField& field, const QString& text);
// The text a table's cell gives for `value`: what fieldFromText reads back
// as the same value, or empty when no text does (a float that is not a
// number, a text GBK cannot decode: the cell then leaves the field alone).
QString fieldCellText(const RecordField& field, const FieldValue& value);
// One line of text, as a table or a terminal shows it.
QString fieldText(const RecordField& field, const FieldValue& value);

}  // namespace quendra
