// The window icon must draw without any image plugin at every size the
// desktop asks for; the SVG it comes from must be in the resources too.
#include <QFile>
#include <QTest>

#include "app/app_icon.h"

class AppIconTest : public QObject {
  Q_OBJECT
 private slots:
  void drawsAtEverySize_data() {
    QTest::addColumn<int>("size");
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) QTest::addRow("%d", size) << size;
  }
  void drawsAtEverySize() {
    QFETCH(int, size);
    const QIcon icon = quendra::appIcon();
    QVERIFY(!icon.isNull());
    const QPixmap pixmap = icon.pixmap(QSize(size, size));
    QCOMPARE(pixmap.size(), QSize(size, size));
    // A visible centre pixel tells a drawn picture from an empty pixmap.
    QVERIFY(pixmap.toImage().pixelColor(size / 2, size / 2).alpha() > 0);
  }
  void svgSourceIsBundled() {
    quendra::appIcon();
    QFile svg(QStringLiteral(":/icons/quendra.svg"));
    QVERIFY(svg.open(QIODevice::ReadOnly));
    QVERIFY(svg.readAll().contains("<svg"));
  }
};

QTEST_MAIN(AppIconTest)
#include "app_icon_test.moc"
