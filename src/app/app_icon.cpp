#include "app/app_icon.h"

// The resources live in the static ui library; a linker keeps their object
// file only when something refers to it, so register them explicitly.
static void registerResources() { Q_INIT_RESOURCE(resources); }

namespace quendra {

QIcon appIcon() {
  registerResources();
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/icons/quendra-%1.png").arg(size), QSize(size, size));
  return icon;
}

}  // namespace quendra
