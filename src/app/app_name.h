#pragma once
#include <QString>

namespace quendra {

// The title of the transport's socket messages.
inline QString applicationName() { return QStringLiteral("Quendra 主机配置软件"); }

}  // namespace quendra
