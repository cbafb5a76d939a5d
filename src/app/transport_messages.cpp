#include "app/transport_messages.h"

namespace quendra {

QString transportFailureText(TransportFailure failure) {
  switch (failure) {
    case TransportFailure::ReceiveSocket: return QStringLiteral("套接字错误,请检查错误并重新打开软件");
    case TransportFailure::ReceiveBroadcast: return QStringLiteral("设置规则失败1");
    case TransportFailure::ReceiveReuse: return QStringLiteral("设置规则失败2");
    case TransportFailure::AlreadyBound: return QStringLiteral("已经绑定过此IP,无需再次绑定");
    case TransportFailure::SendSocket: return QStringLiteral("套接字创建失败");
    case TransportFailure::SendBroadcast: return QStringLiteral("设置socket规则失败");
    case TransportFailure::SendReuse: return QStringLiteral("设置socket规则失败2");
    case TransportFailure::SendBind: return QStringLiteral("绑定SOCKET出错");
    case TransportFailure::SendFailed: return QStringLiteral("端口被占用");
  }
  return {};
}

}  // namespace quendra
