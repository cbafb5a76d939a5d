#pragma once
// A small picture of the LED screen as the page's fields set it up (see
// LedLayout), scaled to the widget, with a line under it that gives the size
// and how many screens the channels take. Accessible name "LED屏预览".
#include <QWidget>

#include "pages/led_layout.h"

namespace quendra {

class LedPreview : public QWidget {
  Q_OBJECT
 public:
  explicit LedPreview(QWidget* parent = nullptr);

  void showScreen(const LedParams& params, const QString& header, const QString& footer);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // The layout in words: drawn under the screen and given as the accessible description.
  QString caption() const;
  LedLayout layout_;
  QString header_;
  QString footer_;
};

}  // namespace quendra
