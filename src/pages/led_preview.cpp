#include "pages/led_preview.h"

#include <QPainter>

namespace quendra {

LedPreview::LedPreview(QWidget* parent) : QWidget(parent) {
  setAccessibleName(tr("LED屏预览"));
  setMinimumSize(160, 90);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void LedPreview::showScreen(const LedParams& params, const QString& header, const QString& footer) {
  layout_ = ledLayout(params);
  header_ = header;
  footer_ = footer;
  setAccessibleDescription(caption());
  update();
}

QString LedPreview::caption() const {
  if (layout_.width == 0) return tr("没有屏幕尺寸");
  QString text = tr("%1×%2像素").arg(layout_.width).arg(layout_.height);
  if (layout_.table)
    text += tr("，%1个通道%2列，每屏%3行，共%4屏").arg(layout_.channels).arg(layout_.columns).arg(layout_.rowsShown).arg(layout_.screens);
  return text;
}

void LedPreview::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const int captionHeight = fontMetrics().height() + 4;
  const QRect area = rect().adjusted(2, 2, -2, -captionHeight);
  painter.drawText(rect().adjusted(2, 0, -2, 0), Qt::AlignBottom | Qt::AlignHCenter, caption());
  if (layout_.width == 0 || area.width() <= 0 || area.height() <= 0) return;
  // Scaled to fit, never larger than four times the screen's pixels.
  const double scale = std::min({4.0, double(area.width()) / layout_.width, double(area.height()) / layout_.height});
  const QSizeF size(layout_.width * scale, layout_.height * scale);
  const QPointF origin(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2);
  const auto toWidget = [&](const LedRect& r) {
    return QRectF(origin.x() + r.x * scale, origin.y() + r.y * scale, r.width * scale, r.height * scale);
  };
  painter.fillRect(QRectF(origin, size), Qt::black);
  QFont font = painter.font();
  font.setPixelSize(std::max(6, int(kLedLineHeight * scale * 0.8)));
  painter.setFont(font);
  painter.setPen(QColor(255, 60, 40));
  if (layout_.header) painter.drawText(toWidget(*layout_.header), Qt::AlignCenter, header_);
  if (layout_.footer) painter.drawText(toWidget(*layout_.footer), Qt::AlignCenter, footer_);
  if (!layout_.table) return;
  // The first screen of the table: one cell per channel, named by its number.
  painter.setPen(QColor(60, 220, 60));
  const int cellWidth = layout_.table->width / layout_.columns;
  for (int row = 0; row < layout_.rowsShown; ++row) {
    for (int column = 0; column < layout_.columns; ++column) {
      const int channel = row * layout_.columns + column + 1;
      if (channel > layout_.channels) break;
      const LedRect cell{layout_.table->x + column * cellWidth, layout_.table->y + row * kLedLineHeight, cellWidth,
                         kLedLineHeight};
      painter.drawText(toWidget(cell), Qt::AlignCenter, tr("通道%1").arg(channel));
    }
  }
}

}  // namespace quendra
