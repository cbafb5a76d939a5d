#pragma once
// The application icon: the window icon and the About box's picture.
#include <QIcon>

namespace quendra {

// Built from the PNG sizes in the resources, because Qt draws an SVG icon only
// with its SVG icon engine plugin, which a plain Qt installation lacks; the
// SVG (:/icons/quendra.svg) is the source the PNGs are rendered from.
QIcon appIcon();

}  // namespace quendra
