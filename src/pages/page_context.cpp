#include "pages/page_context.h"

#include "app/info_log.h"
#include "link/batch_transfer.h"
#include "link/gbk.h"
#include "link/tunnel_frame.h"

namespace quendra {

bool requireNetworkRead(const PageContext& context) {
  if (context.flags->networkRead) return true;
  context.notifier->notify(QStringLiteral("警告"), QStringLiteral("请先搜索到设备,双击选中,再读取参数"),
                           NoticeIcon::Exclamation);
  return false;
}

bool requireGroupRead(const PageContext& context, bool groupRead, const QString& title, const QString& text) {
  if (!groupRead) context.notifier->notify(title, text, NoticeIcon::Exclamation);
  return groupRead;
}

void sendTunnelRequest(const PageContext& context, std::uint8_t command, ByteView payload) {
  const Bytes frame = TunnelFrame::buildRequest(command, payload);
  const Bytes datagram = OuterFrame::buildTunnelRequest(*context.selectedDevice, frame);
  if (!datagram.empty()) context.sendToAll(datagram);
}

void requestSingleRecordRead(const PageContext& context, ParamGroup group, const QString& infoLine) {
  if (!requireNetworkRead(context)) return;
  context.infoLog->clear();
  context.infoLog->append(infoLine);
  sendTunnelRequest(context, readCommandOf(group));
  context.infoLog->refresh();
}

void startBatchWithWaitBox(const PageContext& context, BatchKind kind) {
  if (context.batch->startBatch(kind) && context.openWaitDialog) context.openWaitDialog();
}

QString fromGbk(std::string_view gbk) { return QString::fromStdString(gbkToUtf8(gbk)); }

std::optional<std::string> fieldGbk(const PageContext& context, const QString& fieldLabel, const QString& text) {
  auto gbk = utf8ToGbk(text.toStdString());
  if (!gbk)
    context.notifier->notify(QStringLiteral("提示"), fieldLabel + QStringLiteral("含有设备不能显示的字符"),
                             NoticeIcon::Exclamation);
  return gbk;
}

}  // namespace quendra
