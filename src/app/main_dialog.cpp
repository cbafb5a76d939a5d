#include "app/main_dialog.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QMimeData>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/about_box.h"
#include "app/app_icon.h"
#include "app/config_words.h"
#include "app/device_list.h"
#include "app/dialog_units.h"
#include "app/help_text.h"
#include "app/info_log_view.h"
#include "app/traffic_window.h"
#include "app/wait_dialog.h"
#include "app/app_name.h"
#include "app/transport_messages.h"
#include "pages/base_page.h"
#include "pages/channel_page.h"
#include "records/field_text.h"
#include "pages/gprs_page.h"
#include "pages/led_page.h"
#include "pages/modbus_page.h"
#include "pages/network_page.h"
#include "pages/relay_page.h"

namespace quendra {

MainDialog::MainDialog(Notifier& notifier, UdpTransport::AddressProvider addresses, QWidget* parent)
    : MainDialog(notifier, std::make_unique<UdpTransport>(), nullptr, parent) {
  if (addresses) ownTransport_->setAddressProvider(addresses);
  ownTransport_->openLink();
  showPcAddress(ownTransport_->addressProvider() ? ownTransport_->addressProvider()()
                                                 : std::vector<std::uint32_t>{});
}

MainDialog::MainDialog(Notifier& notifier, Transport& transport, QWidget* parent)
    : MainDialog(notifier, nullptr, &transport, parent) {}

MainDialog::MainDialog(Notifier& notifier, std::unique_ptr<UdpTransport> own, Transport* transport, QWidget* parent)
    : QDialog(parent),
      notifier_(notifier),
      ownTransport_(std::move(own)),
      transport_(transport ? *transport : *ownTransport_),
      trafficLog_(std::make_unique<TrafficLog>(transport_)),
      router_(std::make_unique<ReplyRouter>(transport_)),
      session_(std::make_unique<HostSession>(*router_)),
      finder_(std::make_unique<HostFinder>(*router_)) {
  setWindowTitle(tr("Quendra 主机配置软件 V%1").arg(QStringLiteral(QUENDRA_SHOWN_VERSION)));
  // A system menu and a minimise box, no maximise box.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setWindowIcon(appIcon());

  tabs_ = new QTabWidget;
  tabs_->setObjectName(QStringLiteral("parameterTabs"));  // a tab control has no label to be found by
  waitDialog_ = new WaitDialog(this);
  auto* layout = new QHBoxLayout(this);
  // The left column keeps its 240 of the 641 dialog units; the tabs take the rest.
  const DialogUnits du(font());
  QWidget* left = buildLeftColumn();
  left->setMinimumWidth(du.x(240));
  layout->addWidget(left, 240);
  layout->addWidget(tabs_, 362);

  // The About box from its button and from F1 (no extensible system menu here).
  connect(aboutButton_, &QPushButton::clicked, this, &MainDialog::showAbout);
  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  help->setContext(Qt::WindowShortcut);
  connect(help, &QShortcut::activated, this, &MainDialog::showAbout);
  connect(trafficButton_, &QPushButton::clicked, this, &MainDialog::showTraffic);

  connect(&infoLog_, &InfoLog::refreshed, infoLogView_, &InfoLogView::showLog);
  port_->setText(QString::number(kDevicePort));
  infoLog_.append(helpText());
  infoLog_.refresh();

  context_.session = session_.get();
  context_.infoLog = &infoLog_;
  context_.notifier = &notifier_;
  context_.openWaitDialog = [this] { waitDialog_->openBox(); };
  context_.openRecordTable = [this](ParamGroup group) { actions_->editTable(group); };
  pageWriter_ = std::make_unique<PageWriter>(*session_, infoLog_, history_, [this] {
    if (selected_) return *selected_;
    HostIdentity unlisted;  // a host written without a search answer: its MAC is all that is known
    unlisted.mac = session_->target();
    return unlisted;
  });
  pageWriter_->setLockPlace(&windowLockPlace());
  context_.writer = pageWriter_.get();
  createPages();
  tabs_->setCurrentIndex(NetworkTab);
  resize(du.size(641, 373).expandedTo(minimumSizeHint()));

  wireSession();
  createConfigActions();
  setAcceptDrops(true);
  connect(searchButton_, &QPushButton::clicked, this, &MainDialog::search);
  connect(deviceList_, &DeviceList::doubleClickedList, this, &MainDialog::selectDevice);
}

MainDialog::~MainDialog() {
  // The dialogs this window opened (copy to many hosts, job progress) hold
  // sessions on the router and point into the actions; they must go before
  // those members do, not afterwards with the rest of the children.
  qDeleteAll(findChildren<QDialog*>(Qt::FindDirectChildrenOnly));
  if (ownTransport_) ownTransport_->closeLink();
}

QWidget* MainDialog::buildLeftColumn() {
  auto* column = new QWidget;
  auto* v = new QVBoxLayout(column);
  v->setContentsMargins(0, 0, 0, 0);

  auto* pcGroup = new QGroupBox(tr("电脑网卡IP"));
  auto* pcRow = new QHBoxLayout(pcGroup);
  pcAddress_ = new QLineEdit;
  pcAddress_->setReadOnly(true);
  pcAddress_->setAccessibleName(pcGroup->title());
  port_ = new QLineEdit;
  port_->setReadOnly(true);
  port_->setAccessibleName(tr("电脑网卡IP 端口"));
  searchButton_ = new QPushButton(tr("搜索"));
  pcRow->addWidget(pcAddress_, 74);
  pcRow->addWidget(port_, 40);
  pcRow->addWidget(searchButton_, 77);
  v->addWidget(pcGroup);

  auto* listLabel = new QLabel(tr("监控主机列表"));
  deviceList_ = new DeviceList;
  listLabel->setBuddy(deviceList_);
  v->addWidget(listLabel);
  v->addWidget(deviceList_, 143);
  v->addWidget(buildConfigButtons());

  auto* logLabel = new QLabel(tr("信息提示区"));
  infoLogView_ = new InfoLogView;
  logLabel->setBuddy(infoLogView_);
  v->addWidget(logLabel);
  v->addWidget(infoLogView_, 127);

  aboutButton_ = new QPushButton(tr("关于 Quendra(&A)..."));
  aboutButton_->setAutoDefault(false);
  trafficButton_ = new QPushButton(tr("通信记录..."));
  trafficButton_->setAccessibleName(trafficButton_->text());
  trafficButton_->setAutoDefault(false);
  auto* aboutRow = new QHBoxLayout;
  aboutRow->addStretch();
  aboutRow->addWidget(trafficButton_);
  aboutRow->addWidget(aboutButton_);
  v->addLayout(aboutRow);
  return column;
}

void MainDialog::createPages() {
  // Each page acts on its own group's results only, so the order they are
  // created in does not matter; operators see them in the tab order below.
  networkPage_ = new NetworkPage(context_);
  basePage_ = new BasePage(context_);
  modbusPage_ = new ModbusPage(context_);
  channelPage_ = new ChannelPage(context_);
  gprsPage_ = new GprsPage(context_);
  relayPage_ = new RelayPage(context_);
  ledPage_ = new LedPage(context_);

  const std::pair<QWidget*, QString> tabs[TabCount] = {
      {networkPage_, tr("网口参数 ")}, {gprsPage_, tr("GPRS参数 ")},     {basePage_, tr("基础参数 ")},
      {channelPage_, tr("通道参数 ")}, {modbusPage_, tr("ModBus参数")}, {relayPage_, tr("继电器参数")},
      {ledPage_, tr("LED屏参数")},
  };
  for (const auto& [page, title] : tabs) tabs_->addTab(page, title);
}

void MainDialog::wireSession() {
  batchProgress_ = std::make_unique<BatchProgress>(infoLog_, [this](const QString& text) { waitDialog_->setText(text); });
  // A whole-host job shows its own progress and its own lines in the information area.
  connect(session_.get(), &HostSession::batchEvent, this, [this](const BatchEvent& e) {
    if (!actions_ || !actions_->busy()) batchProgress_->show(e);
  });
  connect(session_.get(), &HostSession::versionRefused, this, [this] {
    notifier_.notify(tr("警告"), tr("此版本设备不能使用该软件,请使用其他版本软件"), NoticeIcon::Question);
  });
  connect(finder_.get(), &HostFinder::hostFound, this, &MainDialog::addSearchAnswer);
  connect(router_.get(), &ReplyRouter::datagramHandled, &infoLog_, &InfoLog::refresh);
  if (ownTransport_) connect(ownTransport_.get(), &UdpTransport::failed, this, &MainDialog::showTransportFailure);
}

void MainDialog::showTransportFailure(TransportFailure failure) {
  notifier_.notify(applicationName(), transportFailureText(failure), NoticeIcon::None);
}

void MainDialog::search() {
  infoLog_.clear();
  infoLog_.refresh();
  infoLog_.append(tr("搜索...\r\n"));
  // Emptied before the send: a message box during the send ("端口被占用")
  // runs the event loop, and answers arriving then must stay in the list.
  deviceList_->clearRows();
  heardAddresses_.clear();
  heardMacs_.clear();
  // Sent once; every host that answers is listed once per PC address that
  // heard it, until the next search.
  finder_->search();
  infoLog_.refresh();
}

void MainDialog::addSearchAnswer(const FoundHost& host) {
  deviceList_->addEntry(DeviceEntry::fromSearchAnswer(host.answer));
  // A fresh batch of factory hosts all on one address shows at a glance. The
  // answers are compared only when this address or MAC was heard before, so
  // that a search of thousands of hosts stays as fast.
  std::uint64_t mac = 0;
  for (std::uint8_t b : host.answer.mac) mac = mac << 8 | b;
  const bool heardBefore = heardAddresses_.contains(host.answer.ip) || heardMacs_.contains(mac);
  heardAddresses_.insert(host.answer.ip);
  heardMacs_.insert(mac);
  if (const HostConflicts conflicts = heardBefore ? conflictsOf(host, finder_->found()) : HostConflicts{}; conflicts.any())
    deviceList_->showConflicts(host.answer, conflicts);
  infoLog_.append(tr("搜索到设备\r\n"));
  infoLog_.refresh();
}

void MainDialog::selectDevice() {
  const auto entry = deviceList_->selectedEntry();
  if (!entry) return;
  // A batch still running for the previous host is cancelled here, and says so.
  infoLog_.clear();
  session_->setTarget(entry->mac);
  selected_ = HostIdentity{entry->mac, entry->name, entry->ip, entry->firmwareVersion};
  networkPage_->showSelectedMac(entry->mac);
  infoLog_.append(tr("读取参数...\r\n"));
  session_->read(ParamGroup::Network);
  infoLog_.refresh();
}

void MainDialog::showAbout() {
  auto* box = new AboutBox(this);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}


void MainDialog::showTraffic() {
  if (!trafficWindow_) {
    trafficWindow_ = new TrafficWindow(*trafficLog_, notifier_, this);
    trafficWindow_->setAttribute(Qt::WA_DeleteOnClose);
  }
  trafficWindow_->show();
  trafficWindow_->raise();
  trafficWindow_->activateWindow();
}

void MainDialog::showPcAddress(const std::vector<std::uint32_t>& list) {
  pcAddress_->setText(list.empty() ? QString() : QString::fromStdString(formatDottedAddress(list.front())));
}

void MainDialog::keyPressEvent(QKeyEvent* event) {
  // A dialog sends Enter to its default button from anywhere; here that would
  // write the network settings from an Enter in the device list. A page that
  // has a default button presses it itself for Enter in its own fields.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return;
  QDialog::keyPressEvent(event);
}

QWidget* MainDialog::buildConfigButtons() {
  // The whole-host operations, under the list of hosts they work on.
  auto* box = new QWidget;
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(0, 0, 0, 0);
  const QString texts[] = {tr("保存配置..."), tr("打开配置..."),       tr("写入全部..."), tr("历史记录..."),
                           tr("复制到其他主机..."), tr("导出报告..."), tr("主机总表...")};
  for (int i = 0; i < kConfigButtons; ++i) {
    auto* b = new QPushButton(texts[i]);
    b->setAccessibleName(texts[i]);
    b->setAutoDefault(false);
    configButtons_[i] = b;
    if (i < 6) grid->addWidget(b, i / 3, i % 3);
    else grid->addWidget(b, 2, 0, 1, 3);  // the whole fleet, under the whole list
  }
  return box;
}

void MainDialog::createConfigActions() {
  ConfigActions::Window w;
  w.parent = this;
  w.session = session_.get();
  w.router = router_.get();
  w.infoLog = &infoLog_;
  w.notifier = &notifier_;
  w.pages = {{ParamGroup::Network, networkPage_}, {ParamGroup::Base, basePage_},   {ParamGroup::Gprs, gprsPage_},
             {ParamGroup::Led, ledPage_},         {ParamGroup::Channel, channelPage_}, {ParamGroup::Modbus, modbusPage_},
             {ParamGroup::Relay, relayPage_}};
  w.selectedHost = [this] { return selected_; };
  w.hostsFound = [this] {
    std::vector<HostIdentity> hosts;
    for (const DeviceEntry& e : deviceList_->entries()) hosts.push_back({e.mac, e.name, e.ip, e.firmwareVersion});
    return hosts;
  };
  w.searchedHosts = [this] {
    std::vector<HostIdentity> hosts;
    for (const FoundHost& f : distinctHosts(finder_->found())) {
      const DeviceEntry e = DeviceEntry::fromSearchAnswer(f.answer);
      hosts.push_back({e.mac, e.name, e.ip, e.firmwareVersion});
    }
    return hosts;
  };
  actions_ = std::make_unique<ConfigActions>(std::move(w), dialogFiles_, history_);
  ConfigActions* a = actions_.get();
  connect(configButtons_[0], &QPushButton::clicked, a, &ConfigActions::saveConfig);
  connect(configButtons_[1], &QPushButton::clicked, a, &ConfigActions::openConfig);
  connect(configButtons_[2], &QPushButton::clicked, a, &ConfigActions::writeAll);
  connect(configButtons_[3], &QPushButton::clicked, a, &ConfigActions::showHistory);
  connect(configButtons_[4], &QPushButton::clicked, a, &ConfigActions::cloneToHosts);
  connect(configButtons_[5], &QPushButton::clicked, a, &ConfigActions::exportReport);
  connect(configButtons_[6], &QPushButton::clicked, a, &ConfigActions::showFleetTable);
}

void MainDialog::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() == 1 && urls.first().isLocalFile()) event->acceptProposedAction();
}

void MainDialog::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() != 1 || !urls.first().isLocalFile()) return;
  event->acceptProposedAction();
  actions_->openFile(urls.first().toLocalFile());
}

void MainDialog::done(int result) {
  if (ownTransport_) ownTransport_->closeLink();
  QDialog::done(result);
}

}  // namespace quendra
