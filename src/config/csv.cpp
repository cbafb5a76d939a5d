#include "config/csv.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

#include "config/atomic_file.h"
#include "link/gbk.h"

namespace quendra {
namespace {

using Problem = CsvError::Problem;
const QByteArray kBom = QByteArrayLiteral("\xEF\xBB\xBF");
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

std::optional<QString> fromUtf8(QByteArrayView bytes) {
  // The mark has been taken off; one more belongs to the text.
  QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
  QString text = decoder.decode(bytes);
  if (decoder.hasError()) return std::nullopt;
  return text;
}

// gbkToUtf8 puts U+FFFD for what it cannot decode; no GBK character is U+FFFD.
std::optional<QString> fromGbk(QByteArrayView bytes) {
  const std::string utf8 = gbkToUtf8(std::string_view(bytes.data(), static_cast<std::size_t>(bytes.size())));
  if (utf8.find(kReplacement) != std::string::npos) return std::nullopt;
  return QString::fromStdString(utf8);
}

// The 1-based line of the first line `decode` refuses (line ends are ASCII
// bytes, never inside a UTF-8 or GBK character); 0 when it takes every line.
template <typename Decode>
int firstRefusedLine(QByteArrayView bytes, Decode decode) {
  int line = 1;
  qsizetype start = 0;
  while (start <= bytes.size()) {
    qsizetype end = start;
    while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') ++end;
    if (!decode(bytes.sliced(start, end - start))) return line;
    if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n') ++end;
    start = end + 1;
    ++line;
  }
  return 0;
}

std::variant<QString, CsvError> decodeText(const QByteArray& bytes) {
  const bool marked = bytes.startsWith(kBom);
  const QByteArrayView body = QByteArrayView(bytes).sliced(marked ? kBom.size() : 0);
  if (auto text = fromUtf8(body)) return *text;
  const int utf8 = firstRefusedLine(body, [](QByteArrayView b) { return fromUtf8(b).has_value(); });
  // A line of Chinese in UTF-8 (bytes of three-byte characters) says the file
  // is UTF-8 gone wrong: GBK might read its bytes as other characters.
  const auto noUtf8Chinese = [](QByteArrayView b) {
    return !fromUtf8(b) || std::none_of(b.begin(), b.end(), [](char c) { return static_cast<unsigned char>(c) >= 0xE0; });
  };
  if (marked || firstRefusedLine(body, noUtf8Chinese) > 0) return CsvError{Problem::NotText, utf8};
  if (auto text = fromGbk(body)) return *text;
  // Neither reads the file: the line where the later of the two gives up is
  // where it stops being what the lines before it were.
  const int gbk = firstRefusedLine(body, [](QByteArrayView b) { return fromGbk(b).has_value(); });
  return CsvError{Problem::NotText, std::max(utf8, gbk)};
}

// Splits decoded text into rows, cells separated by `separator`.
class Splitter {
 public:
  Splitter(const QString& text, QChar separator) : text_(text), separator_(separator) {}

  std::variant<CsvTable, CsvError> split() {
    CsvTable rows;
    QStringList row;
    QString cell;
    bool rowStarted = false;  // anything since the last line end
    bool cellStarted = false;
    qsizetype i = 0;
    const qsizetype n = text_.size();
    while (i < n) {
      const QChar c = text_[i];
      if (c == '"' && !cellStarted) {
        const int opened = line_;
        for (++i;; ++i) {
          if (i == n) return CsvError{Problem::UnterminatedQuote, opened};
          if (text_[i] == '"') {
            if (i + 1 < n && text_[i + 1] == '"') {
              ++i;
            } else {
              break;
            }
          }
          if (isLineEnd(i)) ++line_;
          cell += text_[i];
        }
        ++i;
        rowStarted = cellStarted = true;
      } else if (c == separator_) {
        row.append(std::exchange(cell, {}));
        ++i;
        rowStarted = true;
        cellStarted = false;
      } else if (c == '\r' || c == '\n') {
        i += (c == '\r' && i + 1 < n && text_[i + 1] == '\n') ? 2 : 1;
        ++line_;
        row.append(std::exchange(cell, {}));
        rows.push_back(std::exchange(row, {}));
        rowStarted = cellStarted = false;
      } else {
        // A quote inside an unquoted cell, and text after a closing quote,
        // are kept as they stand, as spreadsheets do.
        cell += c;
        ++i;
        rowStarted = cellStarted = true;
      }
    }
    if (rowStarted) {
      row.append(cell);
      rows.push_back(row);
    }
    return rows;
  }

 private:
  // A line end for counting lines: CR, LF, or the CR of a CRLF (its LF then is not one).
  bool isLineEnd(qsizetype i) const {
    if (text_[i] == '\n') return i == 0 || text_[i - 1] != '\r';
    return text_[i] == '\r';
  }

  const QString& text_;
  QChar separator_;
  int line_ = 1;
};

// Whichever of comma and semicolon the first line holds more of outside
// quotes (a quote opens and closes a quoted part; a doubled one does both).
QChar separatorOf(const QString& text) {
  qsizetype commas = 0;
  qsizetype semicolons = 0;
  bool quoted = false;
  for (QChar c : text) {
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted) {
      if (c == '\r' || c == '\n') break;
      commas += c == ',';
      semicolons += c == ';';
    }
  }
  return semicolons > commas ? QLatin1Char(';') : QLatin1Char(',');
}

// Whether a spreadsheet would run `text` as a formula (OWASP's first characters
// for CSV injection), looking past leading apostrophes: a text that itself
// starts with an apostrophe before them is guarded too, and comes back whole.
bool startsFormula(const QString& text) {
  static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?\\z"));
  qsizetype i = 0;
  while (i < text.size() && text[i] == QLatin1Char('\'')) ++i;
  if (i == text.size() || !QStringView(u"=+-@\t\r").contains(text[i])) return false;
  return !number.match(text.mid(i)).hasMatch();
}

bool needsQuotes(const QString& cell) {
  if (cell.isEmpty()) return false;
  for (QChar c : cell)
    if (c == ',' || c == ';' || c == '"' || c == '\r' || c == '\n') return true;
  return cell.front().isSpace() || cell.back().isSpace();
}

}  // namespace

CsvResult parseCsv(const QByteArray& bytes) {
  if (bytes.size() > kMaxCsvBytes) return CsvError{Problem::TooLarge, 0, bytes.size()};
  auto decoded = decodeText(bytes);
  if (const auto* error = std::get_if<CsvError>(&decoded)) return *error;
  const QString& text = std::get<QString>(decoded);
  auto split = Splitter(text, separatorOf(text)).split();
  if (auto* table = std::get_if<CsvTable>(&split))
    for (QStringList& row : *table)
      for (QString& cell : row) cell = textOfSpreadsheetCell(cell);
  return split;
}

CsvResult readCsvFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return CsvError{Problem::CannotOpen};
  // Refused before reading: a file of any size must not be taken into memory.
  if (f.size() > kMaxCsvBytes) return CsvError{Problem::TooLarge, 0, f.size()};
  return parseCsv(f.read(kMaxCsvBytes + 1));
}

QString spreadsheetCell(const QString& text) { return startsFormula(text) ? QLatin1Char('\'') + text : text; }

QString textOfSpreadsheetCell(const QString& cell) {
  // An apostrophe before what spreadsheetCell guards is its own; any other stays.
  return cell.startsWith(QLatin1Char('\'')) && startsFormula(cell.sliced(1)) ? cell.sliced(1) : cell;
}

QByteArray csvBytes(const CsvTable& table) {
  QString text;
  for (const QStringList& row : table) {
    for (qsizetype k = 0; k < row.size(); ++k) {
      if (k > 0) text += QLatin1Char(',');
      const QString cell = spreadsheetCell(row[k]);
      if (needsQuotes(cell)) {
        text += QLatin1Char('"') + QString(cell).replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
      } else {
        text += cell;
      }
    }
    text += QLatin1String("\r\n");
  }
  return kBom + text.toUtf8();
}

bool writeCsvFile(const QString& path, const QByteArray& bytes, QString* error) {
  return writeFileAtomically(path, bytes, error);
}

}  // namespace quendra
