#include "app/file_chooser.h"

#include <QCoreApplication>
#include <QFileDialog>

namespace quendra {
namespace {

QString filter() { return QCoreApplication::translate("FileChooser", "主机配置文件 (*.json);;所有文件 (*)"); }
QString tableFilter() { return QCoreApplication::translate("FileChooser", "表格文件 (*.csv);;所有文件 (*)"); }

}  // namespace

QString DialogFileChooser::saveReportFile(QWidget* parent, const QString& title, const QString& suggestedPath) {
  return QFileDialog::getSaveFileName(parent, title, suggestedPath,
                                      QCoreApplication::translate("FileChooser", "PDF文件 (*.pdf);;网页文件 (*.html)"));
}

QString DialogFileChooser::openFile(QWidget* parent, const QString& title) {
  return QFileDialog::getOpenFileName(parent, title, QString(), filter());
}

QString DialogFileChooser::saveFile(QWidget* parent, const QString& title, const QString& suggestedPath) {
  return QFileDialog::getSaveFileName(parent, title, suggestedPath, filter());
}

QString DialogFileChooser::openTableFile(QWidget* parent, const QString& title) {
  return QFileDialog::getOpenFileName(parent, title, QString(), tableFilter());
}

QString DialogFileChooser::saveTableFile(QWidget* parent, const QString& title, const QString& suggestedPath) {
  return QFileDialog::getSaveFileName(parent, title, suggestedPath, tableFilter());
}

}  // namespace quendra
