// The LED screen's layout as a table of settings and what the screen shows: sizes, the header and footer lines,
// the data table's columns, rows, the rows one screen holds and the screens all channels take.
#include <QTest>

#include "pages/led_layout.h"

using namespace quendra;

Q_DECLARE_METATYPE(LedParams)
Q_DECLARE_METATYPE(LedLayout)

namespace {

LedParams screen(int x, int y, bool header, bool footer, bool table, int channels, int columns) {
  LedParams p;
  p.sizeX = static_cast<std::uint16_t>(x);
  p.sizeY = static_cast<std::uint16_t>(y);
  p.headerEnabled = header;
  p.footerEnabled = footer;
  p.showDataTable = table;
  p.channelCount = static_cast<std::uint16_t>(channels);
  p.columnCount = static_cast<std::uint16_t>(columns);
  return p;
}

LedLayout layout(int w, int h, std::optional<LedRect> header, std::optional<LedRect> footer,
                 std::optional<LedRect> table, int channels, int columns, int rows, int shown, int screens) {
  return {w, h, header, footer, table, channels, columns, rows, shown, screens};
}

}  // namespace

class LedLayoutTest : public QObject {
  Q_OBJECT
 private slots:
  void screenLayout_data() {
    QTest::addColumn<LedParams>("params");
    QTest::addColumn<LedLayout>("expected");
    QTest::newRow("8 channels in 2 columns, header") << screen(192, 96, true, false, true, 8, 2)
        << layout(192, 96, LedRect{0, 0, 192, 16}, {}, LedRect{0, 16, 192, 80}, 8, 2, 4, 4, 1);
    QTest::newRow("header and footer leave 2 rows") << screen(128, 64, true, true, true, 32, 3)
        << layout(128, 64, LedRect{0, 0, 128, 16}, LedRect{0, 48, 128, 16}, LedRect{0, 16, 128, 32}, 32, 3, 11, 2, 6);
    QTest::newRow("no table when it is not shown") << screen(64, 32, false, true, false, 8, 2)
        << layout(64, 32, {}, LedRect{0, 16, 64, 16}, {}, 0, 0, 0, 0, 0);
    QTest::newRow("no table without a column count") << screen(64, 32, false, false, true, 8, 0)
        << layout(64, 32, {}, {}, {}, 0, 0, 0, 0, 0);
    QTest::newRow("a footer that no longer fits") << screen(64, 20, true, true, true, 4, 1)
        << layout(64, 20, LedRect{0, 0, 64, 16}, {}, LedRect{0, 16, 64, 4}, 4, 1, 4, 0, 0);
    QTest::newRow("no size, nothing") << screen(0, 96, true, true, true, 8, 2) << LedLayout{};
  }
  void screenLayout() {
    QFETCH(LedParams, params);
    QFETCH(LedLayout, expected);
    QCOMPARE(ledLayout(params), expected);
  }
};

QTEST_MAIN(LedLayoutTest)
#include "led_layout_test.moc"
