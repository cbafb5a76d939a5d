#pragma once
// What the LED screen shows for its settings, in the screen's own pixels: the
// header line at the top and the footer line at the bottom when they are
// used, and between them the data table, its channels in the chosen number of
// columns, as many rows as fit, the rest following screen by screen. A line is
// 16 pixels high, the dot font of the screens' Chinese characters.
#include <optional>

#include "records/led_params.h"

namespace quendra {

constexpr int kLedLineHeight = 16;

struct LedRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const LedRect&) const = default;
};

struct LedLayout {
  int width = 0;  // the screen; both 0 when a size is 0
  int height = 0;
  std::optional<LedRect> header;
  std::optional<LedRect> footer;
  std::optional<LedRect> table;  // shown, with a channel count and a column count chosen
  int channels = 0;
  int columns = 0;
  int rows = 0;       // rows of all the channels
  int rowsShown = 0;  // rows on one screen
  int screens = 0;    // screens it takes to show every row

  bool operator==(const LedLayout&) const = default;
};

LedLayout ledLayout(const LedParams& params);

}  // namespace quendra
