// quendra-screenshots OUTDIR [--select] [--lang en]
// Renders the main window as it opens, with each of its seven tabs, and the
// About box to PNG files in OUTDIR, in Chinese or, with --lang en, in
// English. With --select it first searches, double-clicks the top row and
// waits for the network answer, so the pictures show hosts, and then goes
// through the whole-host dialogs as an operator would: saves the host's
// configuration (the progress box), edits the file and opens it, writes it
// (the compare dialog), opens the history, copies the configuration to the
// other hosts, opens the traffic view, the channel table, the LED page with
// its preview, the commissioning report (its first page) and the fleet table. Run it that way only inside a
// private network namespace with quendra-hostsim (scripts/screenshots does);
// the history goes to a temporary folder. Not installed: a tool for the
// documentation.
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>
#include <cstdio>

#include "app/about_box.h"
#include "app/clone_dialog.h"
#include "app/compare_dialog.h"
#include "app/config_actions.h"
#include "app/config_app.h"
#include "app/device_list.h"
#include "app/file_chooser.h"
#include "app/fleet_table_dialog.h"
#include "app/fleet_table_model.h"
#include "app/history_dialog.h"
#include "language/interface_language.h"
#include "app/job_progress.h"
#include "app/main_dialog.h"
#include "app/traffic_window.h"
#include "pages/info_log.h"
#include "pages/record_table_dialog.h"
#include "pages/record_table_view.h"

namespace {

class PrintingNotifier : public quendra::Notifier {
 public:
  void notify(const QString& title, const QString& text, quendra::NoticeIcon) override {
    std::fprintf(stderr, "message box: %s: %s\n", qPrintable(title), qPrintable(text));
  }
};

// Returns once `done` holds after an InfoLog refresh (every reply ends with
// one), or when `ms` have passed.
bool waitForReplies(quendra::InfoLog& log, const std::function<bool()>& done, int ms) {
  if (done()) return true;
  QEventLoop loop;
  QObject::connect(&log, &quendra::InfoLog::refreshed, &loop, [&] {
    if (done()) loop.quit();
  });
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
  return done();
}

void settle() {
  QEventLoop loop;
  QTimer::singleShot(50, &loop, &QEventLoop::quit);
  loop.exec();
}

// Runs the event loop until `done` holds (checked every 10 ms) or `ms` pass.
bool waitFor(const std::function<bool()>& done, int ms) {
  QEventLoop loop;
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
    if (done()) loop.quit();
  });
  tick.start(10);
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  if (!done()) loop.exec();
  return done();
}

bool shoot(QWidget* widget, const QDir& out, const char* name) {
  if (!widget) {
    std::fprintf(stderr, "%s: the window to render is not open\n", name);
    return false;
  }
  const QString file = out.filePath(QLatin1String(name));
  if (!widget->grab().save(file)) return false;
  std::printf("%s\n", qPrintable(file));
  return true;
}

// Presses the button that shows `text` (in the language shown: translated in `context`), as an operator would.
void press(QWidget* root, const char* context, const char* text) {
  const QString shown = QCoreApplication::translate(context, text);
  for (QPushButton* b : root->findChildren<QPushButton*>())
    if (b->text() == shown) return b->click();
  std::fprintf(stderr, "no button %s\n", text);
}
void pressInWindow(QWidget* window, const char* text) { press(window, "quendra::MainDialog", text); }

QTabWidget* tabsOf(QWidget* window) { return window->findChild<QTabWidget*>(QStringLiteral("parameterTabs")); }

template <typename T>
T* openWindow() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) return t;
  return nullptr;
}

// Answers every file question with one path, as an operator who always picks it.
class OneFile : public quendra::FileChooser {
 public:
  explicit OneFile(QString path) : path_(std::move(path)) {}
  QString openFile(QWidget*, const QString&) override { return path_; }
  QString saveFile(QWidget*, const QString&, const QString&) override { return path_; }
  QString saveReportFile(QWidget*, const QString&, const QString&) override {
    return QString(path_).replace(QStringLiteral(".json"), QStringLiteral(".html"));
  }

 private:
  QString path_;
};

// What an operator might change in a saved file: a base value, a channel's
// alarm delay and a relay's start duration.
bool editSavedFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
  file.close();
  const auto setField = [](QJsonValueRef record, const char* key, const QJsonValue& value) {
    QJsonObject r = record.toObject();
    QJsonObject fields = r[QStringLiteral("fields")].toObject();
    fields[QLatin1String(key)] = value;
    r[QStringLiteral("fields")] = fields;
    record = r;
  };
  setField(root[QStringLiteral("base")], "terminalAddress", QStringLiteral("20250099"));
  QJsonArray channels = root[QStringLiteral("channels")].toArray();
  setField(channels[4], "alarmDelay", 30);
  root[QStringLiteral("channels")] = channels;
  QJsonArray relays = root[QStringLiteral("relays")].toArray();
  setField(relays[0], "startDuration", 45);
  root[QStringLiteral("relays")] = relays;
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(QJsonDocument(root).toJson()) > 0;
}

// The fleet table: every host read; one host's data interval written from
// the table (it now differs from the others), a block of login and heartbeat
// intervals pasted for all three and a terminal address typed that another
// host already has.
bool shootFleetTable(quendra::MainDialog& window, const QDir& out) {
  using namespace quendra;
  pressInWindow(&window, "主机总表...");
  auto* table = openWindow<FleetTableDialog>();
  if (!table) return false;
  auto* view = table->findChild<RecordTableView*>();
  FleetTableModel* model = nullptr;  // each read or write brings a model of its own
  bool ended = false;
  QObject::connect(table, &FleetTableDialog::jobFinished, table, [&] { ended = true; });
  const auto run = [&](void (FleetTableDialog::*action)()) {
    ended = false;
    (table->*action)();
    const bool done = waitFor([&] { return ended; }, 30000);
    model = qobject_cast<FleetTableModel*>(view->model());
    return done;
  };
  const auto column = [&](const char* path) {
    for (int c = 0; c < model->columnCount(); ++c)
      if (model->column(c).tooltip == QLatin1String(path)) return c;
    return 0;
  };
  if (!run(&FleetTableDialog::read) || model->rowCount() < 3) return false;
  if (model->setCellText(2, column("base.dataInterval"), QStringLiteral("600"))) return false;
  if (!run(&FleetTableDialog::write)) return false;
  const int login = column("base.loginInterval");
  (void)model->paste({0, login, 0, login}, QStringLiteral("30\t90\n30\t90\n30\t90\n"));
  const int terminal = column("base.terminalAddress");
  (void)model->setCellText(1, terminal, model->cellText(0, terminal));
  table->resize(1400, 420);
  view->resizeColumnsToContents();
  view->setCurrentIndex(model->index(1, login + 1));
  view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  view->horizontalScrollBar()->setValue(view->horizontalHeader()->sectionPosition(terminal));
  settle();
  const bool shot = shoot(table, out, "fleet-table.png");
  table->reject();
  return shot;
}

// The whole-host dialogs, on the selected host and the others of the search.
bool shootConfigDialogs(quendra::MainDialog& window, const QDir& out) {
  using namespace quendra;
  QTemporaryDir files;
  OneFile chooser(files.filePath(QStringLiteral("host.json")));
  window.setFileChooser(chooser);
  const QString path = chooser.openFile(nullptr, {});
  const auto jobEnded = [&] { return window.session().idle() && !openWindow<JobProgress>(); };

  // The progress box, caught while the channels arrive.
  bool progressShot = false;
  QMetaObject::Connection whileReading = QObject::connect(
      &window.session(), &HostSession::recordArrived, &window, [&](ParamGroup group, int index) {
        if (group == ParamGroup::Channel && index == 12)
          QTimer::singleShot(0, &window, [&] { progressShot = shoot(openWindow<JobProgress>(), out, "save-progress.png"); });
      });
  pressInWindow(&window, "保存配置...");
  const bool saved = waitFor([&] { return jobEnded() && QFile::exists(path); }, 20000);
  QObject::disconnect(whileReading);
  if (!saved || !progressShot || !editSavedFile(path)) return false;

  pressInWindow(&window, "打开配置...");
  pressInWindow(&window, "写入全部...");
  if (!waitFor([] { return openWindow<CompareDialog>() != nullptr; }, 20000)) return false;
  settle();
  if (!shoot(openWindow<CompareDialog>(), out, "compare.png")) return false;
  openWindow<CompareDialog>()->accept();
  if (!waitFor(jobEnded, 20000)) return false;
  settle();
  if (!shoot(&window, out, "main-window-written.png")) return false;

  pressInWindow(&window, "历史记录...");
  settle();
  if (!shoot(openWindow<HistoryDialog>(), out, "history.png")) return false;
  openWindow<HistoryDialog>()->reject();

  pressInWindow(&window, "复制到其他主机...");
  auto* clone = openWindow<CloneDialog>();
  if (!clone) return false;
  bool cloned = false;
  QObject::connect(clone, &CloneDialog::allFinished, clone, [&] { cloned = true; });
  auto* hosts = clone->findChild<QListWidget*>();
  for (int i = 1; i < hosts->count(); ++i) hosts->item(i)->setCheckState(Qt::Checked);
  press(clone, "quendra::CloneDialog", "开始复制");
  if (!waitFor([&] { return cloned; }, 30000)) return false;
  settle();
  if (!shoot(clone, out, "clone.png")) return false;
  clone->reject();

  window.showTraffic();
  auto* traffic = openWindow<TrafficWindow>();
  if (!traffic) return false;
  traffic->resize(1100, 640);
  for (QTableView* t : traffic->findChildren<QTableView*>())  // the datagrams, not the counters
    if (t->accessibleName() == QCoreApplication::translate("quendra::TrafficWindow", "数据报")) t->selectRow(2);
  settle();
  if (!shoot(traffic, out, "traffic.png")) return false;
  traffic->close();

  // The channel table: a block pasted from a spreadsheet shows as changed cells.
  tabsOf(&window)->setCurrentIndex(MainDialog::ChannelTab);
  press(tabsOf(&window)->currentWidget(), "PageContext", "表格编辑…");
  auto* table = openWindow<RecordTableDialog>();
  if (!table) return false;
  table->resize(1200, 560);
  auto* view = table->findChild<RecordTableView*>();
  auto* model = qobject_cast<RecordTableModel*>(view->model());
  (void)model->paste({0, 1, 0, 1}, QStringLiteral("45.5\t-5\n46\t-5\n46.5\t-5\n"));
  view->setCurrentIndex(model->index(2, 2));
  view->selectionModel()->select(QItemSelection(model->index(0, 1), model->index(2, 2)),
                                          QItemSelectionModel::ClearAndSelect);
  settle();
  if (!shoot(table, out, "record-table.png")) return false;
  table->reject();

  tabsOf(&window)->setCurrentIndex(MainDialog::LedTab);
  settle();
  if (!shoot(&window, out, "led-preview.png")) return false;
  tabsOf(&window)->setCurrentIndex(MainDialog::NetworkTab);

  // The report, written as HTML and shown as its first page would print.
  const QString report = chooser.saveReportFile(nullptr, {}, {});
  pressInWindow(&window, "导出报告...");
  if (!waitFor([&] { return jobEnded() && QFile::exists(report); }, 20000)) return false;
  QFile html(report);
  if (!html.open(QIODevice::ReadOnly)) return false;
  QTextDocument document;
  QFont font = QApplication::font();
  font.setPointSize(9);
  document.setDefaultFont(font);
  document.setHtml(QString::fromUtf8(html.readAll()));
  document.setTextWidth(1100);
  QImage page(1100, 1000, QImage::Format_RGB32);
  page.fill(Qt::white);
  QPainter painter(&page);
  document.drawContents(&painter, QRectF(0, 0, 1100, 1000));
  painter.end();
  const QString file = out.filePath(QStringLiteral("report.png"));
  if (!page.save(file)) return false;
  std::printf("%s\n", qPrintable(file));
  return shootFleetTable(window, out);
}

}  // namespace

int main(int argc, char** argv) {
  QTemporaryDir dataHome;  // the history of the pictures' writes stays out of the user's data
  qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
  QApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 2) {
    std::fprintf(stderr, "usage: quendra-screenshots OUTDIR [--select] [--lang en]\n");
    return 2;
  }
  const QDir out(args[1]);
  if (!QDir().mkpath(out.path())) return 1;
  quendra::ConfigApp::setUpLook(app);
  const int lang = static_cast<int>(args.indexOf(QStringLiteral("--lang")));
  if (lang > 0 && args.value(lang + 1) == QStringLiteral("en") && !quendra::installEnglish(app)) return 1;

  PrintingNotifier notifier;
  quendra::MainDialog window(notifier);
  window.show();
  settle();
  // The window as it opens: no host yet, the operating hints in the information area.
  const QString start = out.filePath(QStringLiteral("main-window-start.png"));
  if (!window.grab().save(start)) return 1;
  std::printf("%s\n", qPrintable(start));

  if (args.contains(QStringLiteral("--select"))) {
    window.search();
    auto* hosts = window.findChild<quendra::DeviceList*>();
    if (!waitForReplies(window.infoLog(), [&] { return hosts->rowCount() >= 3; }, 3000))
      std::fprintf(stderr, "fewer than three hosts answered\n");
    if (hosts->rowCount() > 0) {
      hosts->setCurrentIndex(hosts->model()->index(0, 0));
      window.selectDevice();
      if (!waitForReplies(window.infoLog(), [&] { return window.session().flags().networkRead; }, 3000))
        std::fprintf(stderr, "no network answer\n");
    }
  }

  const char* names[] = {"network", "gprs", "base", "channel", "modbus", "relay", "led"};
  QTabWidget* tabs = tabsOf(&window);
  for (int i = 0; i < tabs->count(); ++i) {
    tabs->setCurrentIndex(i);
    settle();
    const QString file = out.filePath(QStringLiteral("main-window-%1-%2.png").arg(i).arg(QLatin1String(names[i])));
    if (!window.grab().save(file)) return 1;
    std::printf("%s\n", qPrintable(file));
  }
  tabs->setCurrentIndex(0);

  {
    quendra::AboutBox about(&window);
    about.show();
    settle();
    if (!shoot(&about, out, "about.png")) return 1;
  }
  if (window.session().flags().networkRead && !shootConfigDialogs(window, out)) {
    std::fprintf(stderr, "the whole-host dialogs could not all be rendered\n");
    return 1;
  }
  return 0;
}
