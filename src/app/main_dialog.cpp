#include "app/main_dialog.h"

#include <QGroupBox>
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
#include "app/device_list.h"
#include "app/dialog_units.h"
#include "app/help_text.h"
#include "app/info_log_view.h"
#include "app/wait_dialog.h"
#include "link/local_addresses.h"
#include "pages/base_page.h"
#include "pages/channel_page.h"
#include "pages/field_text.h"
#include "pages/gprs_page.h"
#include "pages/led_page.h"
#include "pages/modbus_page.h"
#include "pages/network_page.h"
#include "pages/relay_page.h"

namespace quendra {

MainDialog::MainDialog(Notifier& notifier, UdpLink::AddressProvider addresses, QWidget* parent)
    : QDialog(parent), notifier_(notifier), link_(notifier), batch_(flags_, batchHooks()) {
  setWindowTitle(QStringLiteral("Quendra 主机配置软件 V2.3"));
  // A system menu and a minimise box, no maximise box.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setWindowIcon(appIcon());

  tabs_ = new QTabWidget;
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

  connect(&infoLog_, &InfoLog::refreshed, infoLogView_, &InfoLogView::showLog);
  port_->setText(QString::number(kDevicePort));
  infoLog_.append(helpText());
  infoLog_.refresh();

  context_.flags = &flags_;
  context_.selectedDevice = &selectedDevice_;
  context_.infoLog = &infoLog_;
  context_.notifier = &notifier_;
  context_.sendToAll = [this](ByteView datagram) { link_.sendToAll(datagram); };
  context_.batch = &batch_;
  context_.openWaitDialog = [this] { waitDialog_->openBox(); };
  createPages();
  tabs_->setCurrentIndex(NetworkTab);
  resize(du.size(641, 373).expandedTo(minimumSizeHint()));

  wireDispatcher();
  connect(&link_, &UdpLink::datagramReceived, this, [this](const QByteArray& datagram) {
    dispatcher_.onDeviceDatagram(ByteView(reinterpret_cast<const std::uint8_t*>(datagram.constData()),
                                          static_cast<std::size_t>(datagram.size())));
  });
  connect(searchButton_, &QPushButton::clicked, this, &MainDialog::search);
  connect(deviceList_, &DeviceList::doubleClickedList, this, &MainDialog::selectDevice);

  if (addresses) link_.setAddressProvider(addresses);
  link_.openLink();
  showPcAddress(addresses ? addresses : UdpLink::AddressProvider(&localIpv4Addresses));
}

MainDialog::~MainDialog() { link_.closeLink(); }

QWidget* MainDialog::buildLeftColumn() {
  auto* column = new QWidget;
  auto* v = new QVBoxLayout(column);
  v->setContentsMargins(0, 0, 0, 0);

  auto* pcGroup = new QGroupBox(QStringLiteral("电脑网卡IP"));
  auto* pcRow = new QHBoxLayout(pcGroup);
  pcAddress_ = new QLineEdit;
  pcAddress_->setReadOnly(true);
  pcAddress_->setAccessibleName(QStringLiteral("电脑网卡IP"));
  port_ = new QLineEdit;
  port_->setReadOnly(true);
  port_->setAccessibleName(QStringLiteral("电脑网卡IP 端口"));
  searchButton_ = new QPushButton(QStringLiteral("搜索"));
  pcRow->addWidget(pcAddress_, 74);
  pcRow->addWidget(port_, 40);
  pcRow->addWidget(searchButton_, 77);
  v->addWidget(pcGroup);

  auto* listLabel = new QLabel(QStringLiteral("监控主机列表"));
  deviceList_ = new DeviceList;
  listLabel->setBuddy(deviceList_);
  v->addWidget(listLabel);
  v->addWidget(deviceList_, 143);

  auto* logLabel = new QLabel(QStringLiteral("信息提示区"));
  infoLogView_ = new InfoLogView;
  logLabel->setBuddy(infoLogView_);
  v->addWidget(logLabel);
  v->addWidget(infoLogView_, 127);

  aboutButton_ = new QPushButton(QStringLiteral("关于 Quendra(&A)..."));
  aboutButton_->setAutoDefault(false);
  auto* aboutRow = new QHBoxLayout;
  aboutRow->addStretch();
  aboutRow->addWidget(aboutButton_);
  v->addLayout(aboutRow);
  return column;
}

void MainDialog::createPages() {
  // Created in the host tool's order, shown in the tab order below.
  networkPage_ = new NetworkPage(context_);
  basePage_ = new BasePage(context_);
  modbusPage_ = new ModbusPage(context_);
  channelPage_ = new ChannelPage(context_);
  gprsPage_ = new GprsPage(context_);
  relayPage_ = new RelayPage(context_);
  ledPage_ = new LedPage(context_);

  const std::pair<QWidget*, QString> tabs[TabCount] = {
      {networkPage_, QStringLiteral("网口参数 ")}, {gprsPage_, QStringLiteral("GPRS参数 ")},
      {basePage_, QStringLiteral("基础参数 ")},    {channelPage_, QStringLiteral("通道参数 ")},
      {modbusPage_, QStringLiteral("ModBus参数")}, {relayPage_, QStringLiteral("继电器参数")},
      {ledPage_, QStringLiteral("LED屏参数")},
  };
  for (const auto& [page, title] : tabs) tabs_->addTab(page, title);
}

void MainDialog::wireDispatcher() {
  dispatcher_.onSearchAnswer([this](const SearchAnswer& answer) { addSearchAnswer(answer); });
  networkPage_->registerRoutes(dispatcher_);
  basePage_->registerRoutes(dispatcher_);
  gprsPage_->registerRoutes(dispatcher_);
  channelPage_->registerRoutes(dispatcher_);
  modbusPage_->registerRoutes(dispatcher_);
  relayPage_->registerRoutes(dispatcher_);
  ledPage_->registerRoutes(dispatcher_);
  dispatcher_.onAnswered([this](const TunnelCommand& command, ByteView) {
    if (command.group == ParamGroup::Channel || command.group == ParamGroup::Relay ||
        command.group == ParamGroup::Modbus)
      batch_.markAnswered(command);
  });
  dispatcher_.onVersionRefused([this] {
    batch_.stopAll();
    notifier_.notify(QStringLiteral("警告"), QStringLiteral("此版本设备不能使用该软件,请使用其他版本软件"),
                     NoticeIcon::Question);
  });
  dispatcher_.onDatagramDone([this] { infoLog_.refresh(); });
}

BatchTransfer::Hooks MainDialog::batchHooks() {
  BatchTransfer::Hooks hooks;
  hooks.sendRecordRequest = [this](std::uint8_t command) { sendRecordRequest(command); };
  hooks.showProgress = [this](const QString& text) { waitDialog_->setText(text); };
  hooks.clearInfoLog = [this] { infoLog_.clear(); };
  hooks.appendInfoLog = [this](const QString& line) { infoLog_.append(line); };
  hooks.refreshInfoLog = [this] { infoLog_.refresh(); };
  return hooks;
}

void MainDialog::sendRecordRequest(std::uint8_t command) {
  const auto record = classifyTunnelCommand(command);
  if (!record) return;
  Bytes payload;
  if (record->isWrite) {
    switch (record->group) {
      case ParamGroup::Channel: payload = channelPage_->recordPayload(record->index); break;
      case ParamGroup::Relay: payload = relayPage_->recordPayload(record->index); break;
      case ParamGroup::Modbus: payload = modbusPage_->recordPayload(record->index); break;
      default: return;  // single-record groups are written by their pages
    }
  }
  sendTunnelRequest(context_, command, payload);
}

void MainDialog::search() {
  infoLog_.clear();
  infoLog_.refresh();
  infoLog_.append(QStringLiteral("搜索...\r\n"));
  link_.rebuildSendSockets();
  // Emptied before the send: a message box during the send ("端口被占用")
  // runs the event loop, and answers arriving then must stay in the list.
  deviceList_->clearRows();
  link_.sendToAll(OuterFrame::buildSearchRequest());
  infoLog_.refresh();
}

void MainDialog::addSearchAnswer(const SearchAnswer& answer) {
  deviceList_->addEntry(DeviceEntry::fromSearchAnswer(answer));
  infoLog_.append(QStringLiteral("搜索到设备\r\n"));
  infoLog_.refresh();
}

void MainDialog::selectDevice() {
  const auto macText = deviceList_->selectedMacText();
  if (!macText) return;
  selectedDevice_ = parseMacDigits(macText->toStdString());
  networkPage_->showSelectedMac(selectedDevice_);
  const Bytes request = OuterFrame::buildReadNetworkRequest(selectedDevice_);
  infoLog_.clear();
  infoLog_.append(QStringLiteral("读取参数...\r\n"));
  link_.sendToAll(request);
  infoLog_.refresh();
}

void MainDialog::showAbout() {
  auto* box = new AboutBox(this);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

void MainDialog::showPcAddress(const UdpLink::AddressProvider& addresses) {
  const std::vector<std::uint32_t> list = addresses();
  pcAddress_->setText(list.empty() ? QString() : QString::fromStdString(formatDottedAddress(list.front())));
}

void MainDialog::keyPressEvent(QKeyEvent* event) {
  // A dialog sends Enter to its default button from anywhere; here that would
  // write the network settings from an Enter in the device list. A page that
  // has a default button presses it itself for Enter in its own fields.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return;
  QDialog::keyPressEvent(event);
}

void MainDialog::done(int result) {
  link_.closeLink();
  QDialog::done(result);
}

}  // namespace quendra
