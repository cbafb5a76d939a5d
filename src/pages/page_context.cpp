#include "pages/page_context.h"

#include <QCoreApplication>
#include <QPushButton>

#include "link/gbk.h"
#include "pages/page_writer.h"

namespace quendra {

QPushButton* makeRecordTableButton(const PageContext& context, ParamGroup group) {
  auto* button = new QPushButton(QCoreApplication::translate("PageContext", "表格编辑…"));
  button->setAccessibleName(button->text());
  QObject::connect(button, &QPushButton::clicked, button, [open = context.openRecordTable, group] {
    if (open) open(group);
  });
  return button;
}

bool requireNetworkRead(const PageContext& context) {
  if (context.session->flags().networkRead) return true;
  context.notifier->notify(QCoreApplication::translate("PageContext", "警告"),
                           QCoreApplication::translate("PageContext", "请先搜索到设备,双击选中,再读取参数"),
                           NoticeIcon::Exclamation);
  return false;
}

bool requireGroupRead(const PageContext& context, ParamGroup group, const QString& title, const QString& text) {
  if (!context.session->writeRefusal(group)) return true;
  context.notifier->notify(title, text, NoticeIcon::Exclamation);
  return false;
}

void requestSingleRecordRead(const PageContext& context, ParamGroup group, const QString& infoLine) {
  if (!requireNetworkRead(context)) return;
  context.infoLog->clear();
  context.infoLog->append(infoLine);
  context.session->read(group);
  context.infoLog->refresh();
}

void startBatchReadWithWaitBox(const PageContext& context, ParamGroup group) {
  if (!context.session->read(group) && context.openWaitDialog) context.openWaitDialog();
}

void writeBatchWithWaitBox(const PageContext& context, ParamGroup group) {
  if (context.writer->write(group, IdentityChoice::Keep) && context.openWaitDialog) context.openWaitDialog();
}

void connectGroupLines(QObject* page, const PageContext& context, ParamGroup group, std::function<void(int)> show,
                       const GroupLines& lines) {
  HostSession* session = context.session;
  InfoLog* log = context.infoLog;
  QObject::connect(session, &HostSession::recordArrived, page, [=](ParamGroup g, int index) {
    if (g != group) return;
    if (show) show(index);
    if (!lines.arrived.isEmpty()) log->append(lines.arrived);
  });
  if (!lines.acknowledged.isEmpty())
    QObject::connect(session, &HostSession::writeAcknowledged, page, [=](ParamGroup g, int) {
      if (g == group) log->append(lines.acknowledged);
    });
  if (!lines.noAnswer.isEmpty())
    QObject::connect(session, &HostSession::finished, page, [=](const OperationResult& r) {
      if (r.group != group || r.operation != Operation::Read || (r.outcome != Outcome::NoAnswer && r.outcome != Outcome::HostGone)) return;
      log->append(lines.noAnswer);
      log->refresh();
    });
}

QString fromGbk(std::string_view gbk) { return QString::fromStdString(gbkToUtf8(gbk)); }

std::optional<std::string> textForWrite(const PageContext& context, const QString& fieldLabel, const QString& text,
                                        const std::string& recordGbk, std::size_t maxBytes) {
  if (text == fromGbk(recordGbk)) return recordGbk;
  auto gbk = fieldGbk(context, fieldLabel, text);
  if (gbk) gbk->resize(gbkCutLength(*gbk, maxBytes));
  return gbk;
}

std::optional<std::string> fieldGbk(const PageContext& context, const QString& fieldLabel, const QString& text) {
  auto gbk = utf8ToGbk(text.toStdString());
  if (!gbk)
    context.notifier->notify(QCoreApplication::translate("PageContext", "提示"),
                             QCoreApplication::translate("PageContext", "%1含有设备不能显示的字符").arg(fieldLabel),
                             NoticeIcon::Exclamation);
  return gbk;
}

}  // namespace quendra
