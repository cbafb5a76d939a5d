#include "pages/led_layout.h"

namespace quendra {

LedLayout ledLayout(const LedParams& p) {
  LedLayout l;
  if (p.sizeX == 0 || p.sizeY == 0) return l;
  l.width = p.sizeX;
  l.height = p.sizeY;
  int top = 0, bottom = l.height;
  // A line that does not fit whole is left out: the screen cannot show half a character.
  if (p.headerEnabled && bottom - top >= kLedLineHeight) {
    l.header = LedRect{0, 0, l.width, kLedLineHeight};
    top += kLedLineHeight;
  }
  if (p.footerEnabled && bottom - top >= kLedLineHeight) {
    l.footer = LedRect{0, bottom - kLedLineHeight, l.width, kLedLineHeight};
    bottom -= kLedLineHeight;
  }
  const bool counted = p.channelCount >= 1 && p.channelCount <= 32 && p.columnCount >= 1 && p.columnCount <= 5;
  if (!p.showDataTable || !counted) return l;
  l.table = LedRect{0, top, l.width, bottom - top};
  l.channels = p.channelCount;
  l.columns = p.columnCount;
  l.rows = (l.channels + l.columns - 1) / l.columns;
  l.rowsShown = std::min(l.rows, (bottom - top) / kLedLineHeight);
  l.screens = l.rowsShown > 0 ? (l.rows + l.rowsShown - 1) / l.rowsShown : 0;
  return l;
}

}  // namespace quendra
