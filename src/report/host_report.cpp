#include "report/host_report.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <algorithm>
#include <functional>

#include "config/atomic_file.h"
#include "fields/field_labels.h"
#include "records/channel_field_rules.h"
#include "records/field_text.h"

namespace quendra {
namespace {

struct Words {
  Q_DECLARE_TR_FUNCTIONS(HostReport)
};
QString esc(const QString& text) { return text.toHtmlEscaped(); }

QString valueOf(const HostConfig& config, ParamGroup group, int index, const RecordField& field) {
  return fieldDisplayText(group, field, field.get(config, index));
}

QString row(const QStringList& cells) {
  QString html = QStringLiteral("<tr>");
  for (const QString& c : cells) html += QStringLiteral("<td>%1</td>").arg(esc(c));
  return html + QStringLiteral("</tr>\n");
}

QString notRead() { return QStringLiteral("<p>%1</p>\n").arg(esc(Words::tr("未读取"))); }

// A table of labels and values, and about how wide it prints in tenths of a point at 9 points: a Chinese
// character 9 points, any other at most 5.2 (a measure that needs no fonts and errs on the wide side).
struct FieldBlock {
  QString html;
  int width = 0;
};

int widthOf(const QString& text) {
  int w = 0;
  for (QChar c : text) w += c.unicode() >= 0x2E80 ? 90 : 52;
  return w;
}

FieldBlock labelsAndValues(const QList<std::pair<QString, QString>>& rows) {
  FieldBlock b{QStringLiteral("<table class=\"fields\">\n"), 0};
  int label = 0, value = 0;
  for (const auto& [l, v] : rows) {
    b.html += row({l, v});
    label = std::max(label, widthOf(l));
    value = std::max(value, widthOf(v));
  }
  b.html += QStringLiteral("</table>\n");
  b.width = label + value + 140;  // the cells' padding and borders
  return b;
}

// A single-record group: label and value, one field a line.
FieldBlock fieldTable(const HostReport& r, ParamGroup group) {
  const QString heading = QStringLiteral("<h2>%1</h2>\n").arg(esc(groupLabel(group)));
  if (!r.config.isKnown(group) || !(r.read[static_cast<int>(group)] & 1u))
    return {heading + notRead(), widthOf(groupLabel(group)) * 3 / 2};  // the heading's larger font
  QList<std::pair<QString, QString>> rows;
  for (const RecordField& f : fieldsOf(group)) rows.append({fieldHeading(group, f.key), valueOf(r.config, group, 0, f)});
  FieldBlock b = labelsAndValues(rows);
  b.html.prepend(heading);
  return b;
}

// The channel table a field goes to: 1 or 2 for the fields of that quantity (the key ends in its number:
// "upperLimit2"), 0 for the channel's own and the four relays its limits switch.
int channelTableOf(std::string_view key) {
  const char last = key.empty() ? 0 : key.back();
  return key.starts_with("relay") ? 0 : last == '1' ? 1 : last == '2' ? 2 : 0;
}

// A column's label on lines of at most about 16 characters, broken at its spaces only: longer lines would make
// a channel table wider than the page (the English labels), and a cell never breaks inside a word.
QString headerCell(const QString& label) {
  QStringList lines;
  for (const QString& word : label.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    if (!lines.isEmpty() && lines.last().size() + 1 + word.size() <= 16) lines.last() += QLatin1Char(' ') + word;
    else lines << word;
  }
  for (QString& line : lines) line = esc(line);
  return QStringLiteral("<th>%1</th>").arg(lines.join(QStringLiteral("<br>")));
}

// A batch group's records among `records` that were read, one row each, with the fields `shown` picks as
// columns; the header row repeats on every page.
QString recordRows(const HostReport& r, ParamGroup group, std::uint32_t records,
                   const std::function<bool(const RecordField&)>& shown) {
  QString html = QStringLiteral("<table class=\"records\">\n<thead><tr><th></th>");
  for (const RecordField& f : fieldsOf(group))
    if (shown(f)) html += headerCell(fieldHeading(group, f.key));
  html += QStringLiteral("</tr></thead>\n");
  for (int k = 0; k < recordCountOf(group); ++k) {
    if (!((records >> k) & 1u)) continue;
    QStringList cells{recordLabel(group, k)};
    // A channel's fields that its data property does not use show as a dash.
    std::optional<ChannelFieldStates> uses;
    if (group == ParamGroup::Channel) uses = channelFieldStates(r.config.channels[k].dataProperty & 0xFF, true);
    for (const RecordField& f : fieldsOf(group)) {
      if (!shown(f)) continue;
      const auto rule = group == ParamGroup::Channel ? channelRuleField(f.key) : std::nullopt;
      cells << (uses && rule && !uses->isEnabled(*rule) ? QStringLiteral("—") : valueOf(r.config, group, k, f));
    }
    html += row(cells);
  }
  return html + QStringLiteral("</table>\n");
}

// A batch group: its heading, then its records. The channels' 25 fields do not fit one page's width without
// breaking labels and values inside a word: their own fields and relays, quantity 1 and quantity 2 are tables of
// their own.
QString recordTable(const HostReport& r, ParamGroup group, std::uint32_t records, const QString& note = {}) {
  QString html = QStringLiteral("<h2>%1</h2>\n").arg(esc(groupLabel(group)));
  if (!note.isEmpty()) html += QStringLiteral("<p>%1</p>\n").arg(esc(note));
  records &= r.read[static_cast<int>(group)] & r.config.knownRecords(group);
  if (records == 0) return html + notRead();
  if (group != ParamGroup::Channel) return html + recordRows(r, group, records, [](const RecordField&) { return true; });
  for (int quantity : {0, 1, 2})
    html += recordRows(r, group, records, [quantity](const RecordField& f) { return channelTableOf(f.key) == quantity; });
  return html;
}

FieldBlock identityTable(const HostReport& r) {
  const QString unknown = QStringLiteral("—");
  const bool baseRead = r.config.isKnown(ParamGroup::Base) && (r.read[static_cast<int>(ParamGroup::Base)] & 1u);
  const auto& h = r.host;
  return labelsAndValues({
      {Words::tr("主机名称"), h ? h->name : unknown},
      {Words::tr("MAC地址"), h ? QString::fromStdString(formatMacDashed(h->mac)) : unknown},
      {Words::tr("IP地址"), h ? QString::fromStdString(formatDottedAddress(h->ip)) : unknown},
      {Words::tr("固件版本"), h && h->firmware ? QString::number(h->firmware) : unknown},
      {fieldHeading(ParamGroup::Base, "terminalAddress"), baseRead ? QString::fromStdString(formatTerminalAddress(r.config.base.terminalAddress)) : unknown},
      {Words::tr("读取时间"), r.readAt.isValid() ? r.readAt.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : unknown},
      {Words::tr("读取工具"), r.readBy.isEmpty() ? unknown : r.readBy},
  });
}

QString channelSection(const HostReport& r) {
  const bool baseRead = r.config.isKnown(ParamGroup::Base) && (r.read[static_cast<int>(ParamGroup::Base)] & 1u);
  if (r.allChannels || !baseRead) return recordTable(r, ParamGroup::Channel, allRecordsOf(ParamGroup::Channel), Words::tr("全部通道"));
  const int enabled = std::min<int>(r.config.base.enabledChannelCount, kChannelCount);
  const std::uint32_t first = enabled >= 32 ? 0xFFFFFFFFu : (1u << enabled) - 1u;
  return recordTable(r, ParamGroup::Channel, first, Words::tr("启用的通道（通道启用数量：%1）").arg(enabled));
}

QString signatureBlock() {
  const QString blank = QStringLiteral("_").repeated(20);
  return QStringLiteral("<h2>%1</h2>\n<table class=\"sign\"><tr><td>%2</td><td>%3</td><td>%4</td></tr></table>\n")
      .arg(esc(Words::tr("签字")), esc(Words::tr("调试人：")) + blank, esc(Words::tr("日期：")) + blank, esc(Words::tr("验收人：")) + blank);
}

// Cells never break their text: a label or value split inside a word is misread on paper.
const char* const kStyle = R"(
body { font-family: "WenQuanYi Micro Hei", "Noto Sans CJK SC", "Microsoft YaHei", "SimSun", sans-serif; font-size: 9pt; }
h1 { font-size: 15pt; }
h2 { font-size: 11pt; margin-top: 12pt; }
table { border-collapse: collapse; margin-bottom: 6pt; }
td, th { border: 1px solid #808080; padding: 2px 4px; vertical-align: top; white-space: nowrap; }
th { background-color: #e8e8e8; font-weight: bold; }
table.records td, table.records th { font-size: 8pt; }
td.column { border: none; padding: 0 18px 0 0; }
table.sign td { border: none; padding: 16px 24px 4px 0; font-size: 10pt; }
)";

// The blocks side by side, so the first page uses the landscape width: as many in a row as fit the page's
// 767 points, the next row below, so a long text (up to 64 bytes) never runs off the page.
QString sideBySide(const QList<FieldBlock>& blocks) {
  constexpr int kPageWidth = 7600, kGap = 140;
  QString html;
  for (qsizetype i = 0; i < blocks.size();) {
    html += QStringLiteral("<table><tr>");
    int used = 0;
    do {
      html += QStringLiteral("<td class=\"column\">%1</td>").arg(blocks[i].html);
      used += blocks[i].width + kGap;
      ++i;
    } while (i < blocks.size() && used + blocks[i].width <= kPageWidth);
    html += QStringLiteral("</tr></table>\n");
  }
  return html;
}

// The line on top of every page: who the host is.
QString pageHeader(const HostReport& r) {
  const QString unknown = QStringLiteral("—");
  const auto& h = r.host;
  return Words::tr("主机名称：%1　MAC地址：%2　IP地址：%3")
      .arg(h ? h->name : unknown, h ? QString::fromStdString(formatMacDashed(h->mac)) : unknown,
           h ? QString::fromStdString(formatDottedAddress(h->ip)) : unknown);
}

// Lays the document out in pages below a header line and above a footer line and paints each: the header names
// the host, the footer counts the pages.
void printPages(QTextDocument& document, QPdfWriter& writer, const QString& header) {
  QPainter painter(&writer);
  document.documentLayout()->setPaintDevice(&writer);
  QFont small = document.defaultFont();
  small.setPointSize(8);
  const QFontMetricsF metrics(small, &writer);
  const qreal line = metrics.height(), gap = line;  // between the header or footer and the body
  const QRectF page(0, 0, writer.width(), writer.height());
  const QSizeF body(page.width(), page.height() - 2 * (line + gap));
  document.setPageSize(body);
  const int pages = document.pageCount();
  for (int n = 1; n <= pages; ++n) {
    if (n > 1) writer.newPage();
    painter.save();
    painter.translate(0, line + gap - (n - 1) * body.height());
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(0, (n - 1) * body.height(), body.width(), body.height());
    context.palette.setColor(QPalette::Text, Qt::black);
    painter.setClipRect(context.clip);
    document.documentLayout()->draw(&painter, context);
    painter.restore();
    painter.setFont(small);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, 0, page.width(), line), Qt::AlignLeft | Qt::AlignVCenter, header);
    painter.drawLine(QPointF(0, line + gap / 3), QPointF(page.width(), line + gap / 3));
    painter.drawText(QRectF(0, page.height() - line, page.width(), line), Qt::AlignCenter,
                     Words::tr("第%1页，共%2页").arg(n).arg(pages));
  }
}

bool fail(QString* error, const QString& why) {
  if (error) *error = why;
  return false;
}

bool save(const QString& path, const QByteArray& bytes, QString* error) { return writeFileAtomically(path, bytes, error); }

}  // namespace

QString reportHtml(const HostReport& r) {
  const QString title = Words::tr("主机调试报告");
  QString html = QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n<title>%1</title>\n<style>%2</style>\n</head><body>\n")
                     .arg(esc(title), QLatin1String(kStyle));
  html += QStringLiteral("<h1>%1</h1>\n").arg(esc(title));
  FieldBlock first = identityTable(r);  // the identity above the network settings
  const FieldBlock network = fieldTable(r, ParamGroup::Network);
  first.html += network.html;
  first.width = std::max(first.width, network.width);
  html += sideBySide({first, fieldTable(r, ParamGroup::Base), fieldTable(r, ParamGroup::Gprs), fieldTable(r, ParamGroup::Led)});
  html += channelSection(r);
  html += recordTable(r, ParamGroup::Modbus, allRecordsOf(ParamGroup::Modbus));
  html += recordTable(r, ParamGroup::Relay, allRecordsOf(ParamGroup::Relay));
  html += signatureBlock();
  return html + QStringLiteral("</body></html>\n");
}

std::optional<ReportFormat> reportFormatOf(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("pdf")) return ReportFormat::Pdf;
  if (suffix == QLatin1String("html") || suffix == QLatin1String("htm")) return ReportFormat::Html;
  return std::nullopt;
}

bool writeReport(const QString& path, const HostReport& report, QString* error) {
  const auto format = reportFormatOf(path);
  if (!format) return fail(error, Words::tr("报告文件名要以 .pdf 或 .html 结尾"));
  const QString html = reportHtml(report);
  if (*format == ReportFormat::Html) return save(path, html.toUtf8(), error);
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return fail(error, Words::tr("没有字体，不能生成PDF"));
  QBuffer pdf;
  pdf.open(QIODevice::WriteOnly);
  QPdfWriter writer(&pdf);
  // Landscape: the channel table has a column for each of its 25 fields.
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12),
                                   QPageLayout::Millimeter));
  writer.setTitle(Words::tr("主机调试报告"));
  writer.setCreator(report.readBy);
  QTextDocument document;
  QFont font;
  font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"), QStringLiteral("SimSun")});
  font.setPointSize(9);
  document.setDefaultFont(font);
  document.setHtml(html);
  printPages(document, writer, pageHeader(report));
  return save(path, pdf.data(), error);
}

}  // namespace quendra
