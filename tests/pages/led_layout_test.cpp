// The LED screen's layout as a table of settings and what the screen shows: sizes, the header and footer lines,
// the data table's columns, rows, the rows one screen holds and the screens all channels take.
#include <QTest>

#include "pages/led_layout.h"

using namespace quendra;

Q_DECLARE_METATYPE(LedParams)
Q_DECLARE_METATYPE(LedLayout)

class LedLayoutTest : public QObject {
  Q_OBJECT
 private slots:
  // LedParams: table, header, footer, size X and Y, channel and column counts.
  void screenLayout_data() {
    QTest::addColumn<LedParams>("params");
    QTest::addColumn<LedLayout>("expected");
    QTest::newRow("8 channels in 2 columns, header") << LedParams{1, 1, 0, 192, 96, 8, 2}
        << LedLayout{192, 96, LedRect{0, 0, 192, 16}, {}, LedRect{0, 16, 192, 80}, 8, 2, 4, 4, 1};
    QTest::newRow("header and footer leave 2 rows") << LedParams{1, 1, 1, 128, 64, 32, 3}
        << LedLayout{128, 64, LedRect{0, 0, 128, 16}, LedRect{0, 48, 128, 16}, LedRect{0, 16, 128, 32}, 32, 3, 11, 2, 6};
    QTest::newRow("no table when it is not shown") << LedParams{0, 0, 1, 64, 32, 8, 2}
        << LedLayout{64, 32, {}, LedRect{0, 16, 64, 16}, {}, 0, 0, 0, 0, 0};
    QTest::newRow("no table without a column count") << LedParams{1, 0, 0, 64, 32, 8, 0}
        << LedLayout{64, 32, {}, {}, {}, 0, 0, 0, 0, 0};
    QTest::newRow("a footer that no longer fits") << LedParams{1, 1, 1, 64, 20, 4, 1}
        << LedLayout{64, 20, LedRect{0, 0, 64, 16}, {}, LedRect{0, 16, 64, 4}, 4, 1, 4, 0, 0};
    QTest::newRow("no size, nothing") << LedParams{1, 1, 1, 0, 96, 8, 2} << LedLayout{};
  }
  void screenLayout() {
    QFETCH(LedParams, params);
    QFETCH(LedLayout, expected);
    QCOMPARE(ledLayout(params), expected);
  }
};

QTEST_MAIN(LedLayoutTest)
#include "led_layout_test.moc"
