#include "app/about_box.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "app/dialog_units.h"

namespace quendra {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("关于Quendra配置软件"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  auto* icon = new QLabel;
  const int side = style()->pixelMetric(QStyle::PM_LargeIconSize);
  icon->setPixmap(QApplication::windowIcon().pixmap(side, side));
  auto* text = new QLabel(tr("Quendra主机配置软件V%1").arg(QStringLiteral(QUENDRA_SHOWN_VERSION)));
  auto* ok = new QPushButton(tr("确定"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(icon);
  layout->addWidget(text, 1);
  layout->addWidget(ok, 0, Qt::AlignTop);
  setMinimumSize(DialogUnits(font()).size(235, 55));
}

}  // namespace quendra
