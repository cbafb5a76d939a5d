// The Chinese window with the toolkit's own texts in Chinese: the button of a message box, what the file dialog
// shows and the context menu of a text field carry no English once installInterfaceLanguage chose Chinese.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/file_chooser.h"
#include "language/interface_language.h"
#include "app/qt_message_notifier.h"

using namespace quendra;

namespace {

// Runs `open`, which shows a modal dialog, and returns what the dialog shows in labels, buttons, tool tips and
// column titles; the dialog is closed once read.
QStringList modalTexts(const std::function<void()>& open) {
  QStringList texts;
  QTimer::singleShot(0, qApp, [&] {  // runs inside the dialog's own event loop
    QWidget* dialog = QApplication::activeModalWidget();
    for (QLabel* l : dialog->findChildren<QLabel*>()) texts << l->text();
    for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>()) texts << b->text() << b->toolTip();
    for (QAbstractItemView* v : dialog->findChildren<QAbstractItemView*>())
      for (int c = 0; v->isVisible() && c < v->model()->columnCount(); ++c)
        texts << v->model()->headerData(c, Qt::Horizontal).toString();
    dialog->close();
  });
  open();
  return texts;
}

// `texts` hold `expected` (so they were read at all) and no Latin word (an accelerator such as "(&O)" is one letter).
void verifyChinese(QStringList texts, const QStringList& expected) {
  texts.removeAll(QString());
  for (const QString& e : expected) QVERIFY2(texts.contains(e), qPrintable(texts.join(" | ")));
  const QStringList english = texts.filter(QRegularExpression(QStringLiteral("[A-Za-z]{2,}")));
  QVERIFY2(english.isEmpty(), qPrintable(english.join(" | ")));
}

}  // namespace

class ToolkitChineseTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { QVERIFY(installInterfaceLanguage(*qApp, {"zh-CN", "zh"})); }

  void messageBoxButton() {
    QtMessageNotifier notifier;
    const auto notify = [&] { notifier.notify(QStringLiteral("提示"), QStringLiteral("写入成功"), NoticeIcon::None); };
    verifyChinese(modalTexts(notify), {QStringLiteral("确定")});
  }

  void fileDialogs() {
    DialogFileChooser chooser;
    verifyChinese(modalTexts([&] { chooser.openFile(nullptr, QStringLiteral("打开配置")); }),
                  {QStringLiteral("文件类型："), QStringLiteral("打开(&O)"), QStringLiteral("取消")});
    verifyChinese(modalTexts([&] { chooser.saveFile(nullptr, QStringLiteral("保存配置"), QStringLiteral("a.json")); }),
                  {QStringLiteral("文件名称(&N)："), QStringLiteral("保存(&S)"), QStringLiteral("取消")});
  }

  void textFieldMenu() {
    QLineEdit field;
    const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    QStringList texts;
    for (QAction* a : menu->actions()) texts << a->text().section(QChar('\t'), 0, 0);  // keys stay as printed
    verifyChinese(texts, {QStringLiteral("全选"), QStringLiteral("粘贴(&P)")});
  }
};

QTEST_MAIN(ToolkitChineseTest)
#include "toolkit_chinese_test.moc"
