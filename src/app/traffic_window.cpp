#include "app/traffic_window.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/meaning_text.h"
#include "app/traffic_table_model.h"
#include "config/atomic_file.h"

namespace quendra {
namespace {

// A label above its widget; the widget takes the label as its accessible name.
QWidget* labelled(const QString& text, QWidget* widget) {
  auto* box = new QWidget;
  auto* v = new QVBoxLayout(box);
  v->setContentsMargins(0, 0, 0, 0);
  auto* label = new QLabel(text);
  label->setBuddy(widget);
  widget->setAccessibleName(text);
  v->addWidget(label);
  v->addWidget(widget);
  return box;
}

QString hexByte(std::uint8_t b) { return QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper(); }

}  // namespace

QString hexLines(ByteView bytes) {
  QStringList lines;
  for (std::size_t at = 0; at < bytes.size(); at += 16) {
    QString line = QStringLiteral("%1 ").arg(at, 4, 16, QLatin1Char('0')).toUpper();
    for (std::size_t i = at; i < std::min(at + 16, bytes.size()); ++i) line += QLatin1Char(' ') + hexByte(bytes[i]);
    lines << line;
  }
  return lines.join(QLatin1Char('\n'));
}

TrafficWindow::TrafficWindow(const TrafficLog& log, Notifier& notifier, QWidget* parent)
    : QDialog(parent), log_(log), notifier_(notifier) {
  setWindowTitle(tr("通信记录"));
  setWindowFlags(Qt::Window);
  setModal(false);

  model_ = new TrafficTableModel(log_, this);
  table_ = new QTableView;
  table_->setModel(model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setWordWrap(false);
  // Widths of what the first four columns can hold, so no row has to be measured.
  const QString widest[] = {QStringLiteral("00:00:00.000"), directionText(Direction::Received),
                            QStringLiteral("255.255.255.255"), QStringLiteral("255.255.255.255:65535")};
  for (int column = 0; column < TrafficTableModel::MeaningColumn; ++column)
    table_->setColumnWidth(column, fontMetrics().horizontalAdvance(widest[column]) + 24);

  bytes_ = new QPlainTextEdit;
  bytes_->setReadOnly(true);
  bytes_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  bytes_->setLineWrapMode(QPlainTextEdit::NoWrap);

  counters_ = new QTableWidget(0, 5);
  counters_->setHorizontalHeaderLabels({tr("本机地址"), directionText(Direction::Sent), tr("重发"),
                                        directionText(Direction::Received), tr("格式错误丢弃")});
  counters_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  counters_->verticalHeader()->hide();
  counters_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  counters_->horizontalHeader()->setStretchLastSection(true);
  counters_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);

  auto* pcapngButton = new QPushButton(tr("导出pcapng..."));
  auto* textButton = new QPushButton(tr("导出文本..."));
  for (QPushButton* b : {pcapngButton, textButton}) {
    b->setAccessibleName(b->text());
    b->setAutoDefault(false);
  }

  auto* lower = new QSplitter(Qt::Horizontal);
  lower->addWidget(labelled(tr("数据"), bytes_));
  lower->addWidget(labelled(tr("计数"), counters_));
  auto* split = new QSplitter(Qt::Vertical);
  split->addWidget(labelled(tr("数据报"), table_));
  split->addWidget(lower);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 1);
  lower->setStretchFactor(0, 3);
  lower->setStretchFactor(1, 2);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(pcapngButton);
  buttons->addWidget(textButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(split);
  layout->addLayout(buttons);
  resize(900, 560);

  connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TrafficWindow::showSelectedBytes);
  connect(model_, &TrafficTableModel::synced, this, &TrafficWindow::showCounters);
  // A table scrolled to its end follows the new rows; one scrolled back stays.
  connect(model_, &QAbstractItemModel::rowsAboutToBeInserted, this, [this] {
    following_ = table_->verticalScrollBar()->value() == table_->verticalScrollBar()->maximum();
  });
  connect(model_, &QAbstractItemModel::rowsInserted, this, [this] {
    if (following_) table_->scrollToBottom();
  });
  connect(pcapngButton, &QPushButton::clicked, this, [this] {
    askAndExport(tr("导出pcapng"), tr("pcapng (*.pcapng)"), &TrafficWindow::exportPcapng);
  });
  connect(textButton, &QPushButton::clicked, this, [this] {
    askAndExport(tr("导出文本"), tr("文本 (*.txt)"), &TrafficWindow::exportText);
  });
  showCounters();
}

void TrafficWindow::showSelectedBytes() {
  const TrafficEntry* e = model_->entryAt(table_->currentIndex().row());
  bytes_->setPlainText(e ? hexLines(e->datagram.view()) : QString());
}

void TrafficWindow::showCounters() {
  const auto& all = log_.counters();
  counters_->setRowCount(static_cast<int>(all.size()));
  for (int row = 0; row < static_cast<int>(all.size()); ++row) {
    const TrafficCounters& c = all[static_cast<std::size_t>(row)];
    const QString cells[] = {localAddressText(c.localAddress), QString::number(c.sent), QString::number(c.resent),
                             QString::number(c.received), QString::number(c.malformed)};
    for (int column = 0; column < 5; ++column) counters_->setItem(row, column, new QTableWidgetItem(cells[column]));
  }
}

void TrafficWindow::askAndExport(const QString& title, const QString& filter,
                                 bool (TrafficWindow::*write)(const QString&)) {
  const QString path = QFileDialog::getSaveFileName(this, title, QString(), filter);
  if (!path.isEmpty()) (this->*write)(path);
}

void TrafficWindow::notifyWriteFailed(const QString& path) {
  notifier_.notify(tr("警告"), tr("无法写入文件 %1").arg(path), NoticeIcon::Exclamation);
}

bool TrafficWindow::exportPcapng(const QString& path) {
  if (log_.writePcapng(path)) return true;
  notifyWriteFailed(path);
  return false;
}

bool TrafficWindow::exportText(const QString& path) {
  // One line per datagram: date and time, direction, local address, peer, meaning, bytes.
  QString text;
  for (const TrafficEntry& e : log_.entries()) {
    const QString when = QDateTime::fromMSecsSinceEpoch(e.timeMicros / 1000).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
    QStringList bytes;
    for (std::uint8_t b : e.datagram.view()) bytes << hexByte(b);
    text += QStringList{when, directionText(e.direction), localAddressText(e.datagram.localAddress),
                        peerText(e.datagram), meaningText(describeDatagram(e.datagram.view(), e.direction)),
                        bytes.join(QLatin1Char(' '))}
                .join(QLatin1Char('\t')) +
            QLatin1Char('\n');
  }
  if (writeFileAtomically(path, text.toUtf8())) return true;
  notifyWriteFailed(path);
  return false;
}

}  // namespace quendra
