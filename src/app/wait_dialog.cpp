#include "app/wait_dialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "app/dialog_units.h"

namespace quendra {

WaitDialog::WaitDialog(QWidget* parent) : QDialog(parent), line_(new QLabel(tr("Static"))) {
  setWindowTitle(QString());
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setWindowModality(Qt::WindowModal);
  QFont f = font();
  f.setPointSize(10);
  line_->setFont(f);
  line_->setAlignment(Qt::AlignCenter);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(line_);
  resize(DialogUnits(font()).size(177, 78));
}

void WaitDialog::setText(const QString& text) { line_->setText(text); }

void WaitDialog::openBox() { open(); }

void WaitDialog::keyPressEvent(QKeyEvent* event) {
  // With no button there is no default one to press: Enter closes, like Esc.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    reject();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace quendra
