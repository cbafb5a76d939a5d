#pragma once
#include <QCoreApplication>

namespace quendra {

// The title of the transport's socket messages.
inline QString applicationName() { return QCoreApplication::translate("Application", "Quendra 主机配置软件"); }

}  // namespace quendra
