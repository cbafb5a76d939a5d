#pragma once
// The window asks for file names through this interface, so tests can answer
// instead of an operator. The window's implementation shows the file dialogs.
#include <QString>

class QWidget;

namespace quendra {

class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // An existing file to open; empty when the operator cancelled.
  virtual QString openFile(QWidget* parent, const QString& title) = 0;
  // Where to save; empty when the operator cancelled.
  virtual QString saveFile(QWidget* parent, const QString& title, const QString& suggestedPath) = 0;
  // Where to save a report (a .pdf or .html file); empty when cancelled.
  virtual QString saveReportFile(QWidget* parent, const QString& title, const QString& suggestedPath) {
    return saveFile(parent, title, suggestedPath);
  }
  // A table (.csv) to open, or where to save one; empty when cancelled.
  virtual QString openTableFile(QWidget* parent, const QString& title) { return openFile(parent, title); }
  virtual QString saveTableFile(QWidget* parent, const QString& title, const QString& suggestedPath) {
    return saveFile(parent, title, suggestedPath);
  }
};

class DialogFileChooser : public FileChooser {
 public:
  QString openFile(QWidget* parent, const QString& title) override;
  QString saveFile(QWidget* parent, const QString& title, const QString& suggestedPath) override;
  QString saveReportFile(QWidget* parent, const QString& title, const QString& suggestedPath) override;
  QString openTableFile(QWidget* parent, const QString& title) override;
  QString saveTableFile(QWidget* parent, const QString& title, const QString& suggestedPath) override;
};

}  // namespace quendra
