#pragma once
// Tables as spreadsheets save them (CSV): bytes to rows of text cells and
// back. What spreadsheets write is read: UTF-8 with or without a byte-order
// mark, or GBK (what a spreadsheet on a Chinese Windows saves) when the bytes
// are not valid UTF-8 and hold no line of Chinese in UTF-8; comma or semicolon between cells (whichever the first
// line holds more of, outside quotes); quoted cells with separators, doubled
// quotes and line breaks; CRLF, LF or CR line ends, the last one optional.
// What is written opens with Chinese intact in any spreadsheet: UTF-8 with a
// byte-order mark, CRLF, commas, quotes only around cells that need them.
// A cell's text is data, whoever typed it (a host's name and texts are
// whatever anyone on the LAN put there): a text a spreadsheet would run as a
// formula is written with a leading apostrophe, and read back without it.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <variant>
#include <vector>

namespace quendra {

// The rows of a table, each a list of cells, in file order. A line without
// anything on it is a row of one empty cell.
using CsvTable = std::vector<QStringList>;

struct CsvError {
  enum class Problem {
    CannotOpen,         // the file cannot be read
    TooLarge,           // more than kMaxCsvBytes (size: the file's size)
    NotText,            // bytes neither UTF-8 nor GBK decode (line: the first such line)
    UnterminatedQuote,  // a quoted cell runs to the end of the file (line: where it opens)
  };
  Problem problem = Problem::CannotOpen;
  int line = 0;     // 1-based line of the file (as a text editor counts them); 0: the file as a whole
  qint64 size = 0;  // TooLarge
};

constexpr qint64 kMaxCsvBytes = 4 * 1024 * 1024;

using CsvResult = std::variant<CsvTable, CsvError>;
// Every cell through textOfSpreadsheetCell.
CsvResult parseCsv(const QByteArray& bytes);
// Refuses a file larger than kMaxCsvBytes before reading it.
CsvResult readCsvFile(const QString& path);

// A text cell as a spreadsheet keeps it as text: one that starts with = + - @,
// a tab or a carriage return (after any apostrophes) gets a leading
// apostrophe; a number such as "-5" or "+1.5e3" stays as it is.
QString spreadsheetCell(const QString& text);
// The text of a cell written by spreadsheetCell (or typed so): exactly the
// apostrophe spreadsheetCell adds is taken off, so text -> cell -> text is exact.
QString textOfSpreadsheetCell(const QString& cell);

// The bytes of `table`, every cell through spreadsheetCell. Reading them back gives `table` again (a row without
// any cell comes back as a row of one empty cell).
QByteArray csvBytes(const CsvTable& table);
// Written atomically (the old file stays whole until the new one is complete).
bool writeCsvFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

}  // namespace quendra
