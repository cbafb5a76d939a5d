#include "app/transport_messages.h"

#include <QCoreApplication>

namespace quendra {

QString transportFailureText(TransportFailure failure) {
  const char* text = "";
  switch (failure) {
    case TransportFailure::ReceiveSocket: text = QT_TRANSLATE_NOOP("TransportMessages", "套接字错误,请检查错误并重新打开软件"); break;
    case TransportFailure::ReceiveBroadcast: text = QT_TRANSLATE_NOOP("TransportMessages", "设置规则失败1"); break;
    case TransportFailure::ReceiveReuse: text = QT_TRANSLATE_NOOP("TransportMessages", "设置规则失败2"); break;
    case TransportFailure::AlreadyBound: text = QT_TRANSLATE_NOOP("TransportMessages", "已经绑定过此IP,无需再次绑定"); break;
    case TransportFailure::SendSocket: text = QT_TRANSLATE_NOOP("TransportMessages", "套接字创建失败"); break;
    case TransportFailure::SendBroadcast: text = QT_TRANSLATE_NOOP("TransportMessages", "设置socket规则失败"); break;
    case TransportFailure::SendReuse: text = QT_TRANSLATE_NOOP("TransportMessages", "设置socket规则失败2"); break;
    case TransportFailure::SendBind: text = QT_TRANSLATE_NOOP("TransportMessages", "绑定SOCKET出错"); break;
    case TransportFailure::SendFailed: text = QT_TRANSLATE_NOOP("TransportMessages", "端口被占用"); break;
  }
  return *text ? QCoreApplication::translate("TransportMessages", text) : QString();
}

}  // namespace quendra
