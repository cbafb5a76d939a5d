#pragma once
// "关于Quendra配置软件": the icon, the program's name and version, and "确定".
#include <QDialog>

namespace quendra {

class AboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit AboutBox(QWidget* parent = nullptr);
};

}  // namespace quendra
