#pragma once
// The window's layout is drawn in dialog units: a quarter of the font's average
// character width across, an eighth of its height down.
#include <QFontMetrics>
#include <QSize>

namespace quendra {

struct DialogUnits {
  explicit DialogUnits(const QFont& font) {
    const QFontMetrics fm(font);
    baseX = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52;
    baseY = fm.height();
  }
  int x(int units) const { return units * baseX / 4; }
  int y(int units) const { return units * baseY / 8; }
  QSize size(int w, int h) const { return QSize(x(w), y(h)); }

  int baseX = 0;
  int baseY = 0;
};

}  // namespace quendra
