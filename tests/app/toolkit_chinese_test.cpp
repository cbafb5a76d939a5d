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
#include "app/interface_language.h"
#include "app/qt_message_notifier.h"

using namespace quendra;

namespace {

// The texts holding a Latin word (an accelerator such as "(&O)" is one letter), for a failure message.
QString withEnglish(const QStringList& texts) {
  return texts.filter(QRegularExpression(QStringLiteral("[A-Za-z]{2,}"))).join(" | ");
}

// Runs `open`, which shows a modal dialog, and returns what the dialog shows in labels, buttons, tool tips and
// column titles; the dialog is closed once read.
QStringList modalTexts(const std::function<void()>& open) {
  QStringList texts;
  QTimer::singleShot(0, qApp, [&] {  // runs inside the dialog's own event loop
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog) return;
    for (QLabel* l : dialog->findChildren<QLabel*>()) texts << l->text();
    for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>()) texts << b->text() << b->toolTip();
    for (QAbstractItemView* v : dialog->findChildren<QAbstractItemView*>())
      if (v->isVisible() && v->model())
        for (int c = 0; c < v->model()->columnCount(); ++c) texts << v->model()->headerData(c, Qt::Horizontal).toString();
    dialog->close();
  });
  open();
  texts.removeAll(QString());
  return texts;
}

}  // namespace

class ToolkitChineseTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { QVERIFY(installInterfaceLanguage(*qApp, {"zh-CN", "zh"})); }

  void messageBoxButtonIsChinese() {
    QtMessageNotifier notifier;
    const QStringList texts =
        modalTexts([&] { notifier.notify(QStringLiteral("提示"), QStringLiteral("写入成功"), NoticeIcon::Information); });
    QVERIFY2(texts.contains(QStringLiteral("确定")), qPrintable(texts.join(" | ")));
    QVERIFY2(withEnglish(texts).isEmpty(), qPrintable(withEnglish(texts)));
  }

  void fileDialogIsChinese_data() {
    QTest::addColumn<bool>("save");
    QTest::newRow("打开配置") << false;
    QTest::newRow("保存配置") << true;
  }
  void fileDialogIsChinese() {
    QFETCH(bool, save);
    DialogFileChooser chooser;
    const QStringList texts = modalTexts([&] {
      if (save) chooser.saveFile(nullptr, QStringLiteral("保存配置"), QStringLiteral("host.json"));
      else chooser.openFile(nullptr, QStringLiteral("打开配置"));
    });
    QVERIFY2(texts.contains(QStringLiteral("文件类型：")) && texts.contains(QStringLiteral("取消")),
             qPrintable(texts.join(" | ")));
    QVERIFY2(withEnglish(texts).isEmpty(), qPrintable(withEnglish(texts)));
  }

  void textFieldMenuIsChinese() {
    QLineEdit field;
    const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    QStringList texts;
    for (QAction* a : menu->actions()) texts << a->text().section(QChar('\t'), 0, 0);  // the shortcut keys stay as printed
    texts.removeAll(QString());
    QVERIFY2(texts.contains(QStringLiteral("全选")), qPrintable(texts.join(" | ")));
    QVERIFY2(withEnglish(texts).isEmpty(), qPrintable(withEnglish(texts)));
  }
};

QTEST_MAIN(ToolkitChineseTest)
#include "toolkit_chinese_test.moc"
