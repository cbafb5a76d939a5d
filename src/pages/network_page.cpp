#include "pages/network_page.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "fields/field_labels.h"
#include "records/field_text.h"
#include "pages/page_form.h"
#include "pages/page_writer.h"

namespace quendra {
namespace {

// "服务器1", "服务器2": the group of a server's fields.
QString serverName(int s) { return NetworkPage::tr("服务器%1").arg(s + 1); }

QLineEdit* makeEdit(bool enabled = true) {
  auto* edit = new QLineEdit;
  edit->setEnabled(enabled);
  return edit;
}

QString fromStd(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

NetworkPage::NetworkPage(const PageContext& context, QWidget* parent) : QWidget(parent), context_(context) {
  auto* top = new QVBoxLayout(this);

  auto* servers = new QGroupBox(tr("目标服务器网络参数"));
  auto* serverRow = new QHBoxLayout(servers);
  for (int s = 0; s < NetworkParams::kServerCount; ++s)
    serverRow->addWidget(buildServerGroup(serverName(s), servers_[s]));
  // Server 2 only shows what the host holds; its values still travel in a write.
  for (QLineEdit* e : {servers_[1].sourcePort, servers_[1].listenPort, servers_[1].address}) e->setEnabled(false);
  top->addWidget(servers);

  top->addWidget(buildLocalGroup());

  auto* buttons = new QHBoxLayout;
  writeMacButton_ = new QPushButton(tr("写MAC"));
  writeButton_ = new QPushButton(tr("写入网络参数"));
  resetButton_ = new QPushButton(tr("网络恢复出厂"));
  writeButton_->setDefault(true);
  buttons->addWidget(writeMacButton_);
  buttons->addStretch();
  buttons->addWidget(writeButton_);
  buttons->addWidget(resetButton_);
  top->addLayout(buttons);
  top->addStretch();

  connect(writeButton_, &QPushButton::clicked, this, &NetworkPage::writeNetwork);
  connect(resetButton_, &QPushButton::clicked, this, &NetworkPage::factoryReset);
  connect(writeMacButton_, &QPushButton::clicked, this, &NetworkPage::writeMac);
  connect(addressMode_, &QComboBox::currentIndexChanged, this, &NetworkPage::applyEnableRule);
  connect(context_.session, &HostSession::targetChanged, this, [this] { hostAddress_->setModified(false); });
  connectGroupLines(this, context_, ParamGroup::Network, [this](int) { showParams(); },
                    {tr("读取网络参数成功！\r\n"), {}, tr("读取网络参数失败\r\n")});
  writeStartValues();
}

QWidget* NetworkPage::buildServerGroup(const QString& title, ServerFields& fields) {
  auto* group = new QGroupBox(title);
  auto* grid = new QGridLayout(group);
  fields.listenPort = makeEdit();
  fields.address = makeEdit();
  fields.sourcePort = makeEdit();
  addLabeledField(grid, 0, 0, tr("监听端口："), fields.listenPort, title);
  addLabeledField(grid, 1, 0, tr("服务器地址："), fields.address, title);
  addLabeledField(grid, 2, 0, tr("源端口："), fields.sourcePort, title);
  return group;
}

QWidget* NetworkPage::buildLocalGroup() {
  auto* group = new QGroupBox(tr("设备本地网络参数"));
  auto* grid = new QGridLayout(group);
  hostAddress_ = makeEdit();
  subnetMask_ = makeEdit();
  gateway_ = makeEdit();
  addressMode_ = makeList(fieldChoices(ParamGroup::Network, "addressMode"));
  QStringList counts;
  for (int n = 0; n <= 8; ++n) counts << QString::number(n);
  maxConnections_ = makeList(counts);
  maxConnections_->setEnabled(false);
  // Editable, so that "写MAC" can give the host a new address.
  mac_ = makeEdit();
  addLabeledField(grid, 0, 0, fieldLabel(ParamGroup::Network, "hostAddress"), hostAddress_);
  addLabeledField(grid, 1, 0, fieldLabel(ParamGroup::Network, "subnetMask"), subnetMask_);
  addLabeledField(grid, 2, 0, fieldLabel(ParamGroup::Network, "gateway"), gateway_);
  addLabeledField(grid, 0, 2, fieldLabel(ParamGroup::Network, "addressMode"), addressMode_);
  addLabeledField(grid, 1, 2, fieldLabel(ParamGroup::Network, "maxConnections"), maxConnections_);
  addLabeledField(grid, 2, 2, tr("MAC地址："), mac_);
  return group;
}

void NetworkPage::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && !(event->modifiers() & ~Qt::KeypadModifier)) {
    if (writeButton_->isEnabled()) writeButton_->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

void NetworkPage::showEvent(QShowEvent* event) {
  // The page was built before it joined the window: register the button with
  // the window now, so it keeps its default look when other buttons had focus.
  if (!defaultRegistered_) {
    writeButton_->setDefault(false);
    writeButton_->setDefault(true);
    defaultRegistered_ = true;
  }
  QWidget::showEvent(event);
}

void NetworkPage::writeStartValues() {
  hostAddress_->setText(QStringLiteral("192.168.0.9"));
  subnetMask_->setText(QStringLiteral("255.255.255.0"));
  gateway_->setText(QStringLiteral("192.168.0.1"));
  servers_[0].sourcePort->setText(QStringLiteral("2000"));
  servers_[1].sourcePort->setText(QStringLiteral("0"));
  servers_[0].listenPort->setText(QStringLiteral("2404"));
  servers_[1].listenPort->setText(QStringLiteral("0"));
  servers_[0].address->setText(QStringLiteral("192.168.0.166"));
  servers_[1].address->clear();
  maxConnections_->setCurrentIndex(8);
  mac_->setText(QStringLiteral("02-4B-7D-00-00-00"));
  addressMode_->setCurrentIndex(0);
  applyEnableRule();
}

void NetworkPage::showSelectedMac(const Mac& mac) { mac_->setText(fromStd(formatMacDashed(mac))); }

void NetworkPage::applyEnableRule() {
  const bool automatic = addressMode_->currentIndex() == 1;
  for (QLineEdit* e : {hostAddress_, subnetMask_, gateway_}) e->setEnabled(!automatic);
}

void NetworkPage::showParams() {
  const NetworkParams& p = params();
  addressMode_->setCurrentIndex(p.staticAddress() ? 0 : 1);
  hostAddress_->setText(fromStd(formatDottedAddress(p.hostAddress())));
  subnetMask_->setText(fromStd(formatDottedAddress(p.subnetMask())));
  gateway_->setText(fromStd(formatDottedAddress(p.gateway())));
  applyEnableRule();
  for (int s = 0; s < NetworkParams::kServerCount; ++s) {
    servers_[s].sourcePort->setText(QString::number(p.sourcePort(s)));
    servers_[s].address->setText(fromGbk(p.serverAddress(s)));
    servers_[s].listenPort->setText(QString::number(p.listenPort(s)));
  }
  // A count above 8 has no list position: the list shows nothing.
  const int count = p.maxConnections();
  maxConnections_->setCurrentIndex(count <= 8 ? count : -1);
}

std::optional<NetworkParams> NetworkPage::paramsFromFields() {
  NetworkParams p = params();
  const auto notice = [this](const QString& text) {
    context_.notifier->notify(tr("提示"), text, NoticeIcon::Exclamation);
  };

  // A lenient conversion would write an address that can leave the host
  // unreachable: each text must be four decimal parts 0..255.
  struct Address {
    QLineEdit* edit;
    void (NetworkParams::*store)(std::uint32_t);
  };
  const Address addresses[] = {
      {hostAddress_, &NetworkParams::setHostAddress},
      {subnetMask_, &NetworkParams::setSubnetMask},
      {gateway_, &NetworkParams::setGateway},
  };
  for (const Address& a : addresses) {
    const auto value = parseDottedAddress(a.edit->text().toStdString());
    if (!value) {
      notice(tr("%1格式不正确,应为以\".\"分隔的四个0~255的十进制数,例如192.168.0.9").arg(a.edit->accessibleName()));
      return std::nullopt;
    }
    (p.*a.store)(*value);
  }
  p.setStaticAddress(addressMode_->currentIndex() != 1);

  for (int s = 0; s < NetworkParams::kServerCount; ++s) {
    const QString label = servers_[s].address->accessibleName();
    // A text as the host sent it goes back as it came: its area is left alone
    // (also a full 30-byte area without its zero, or erased flash, which the
    // disabled server 2 field cannot change).
    const QString text = servers_[s].address->text();
    if (text != fromGbk(p.serverAddress(s))) {
      const auto gbk = fieldGbk(context_, label, text);
      if (!gbk) return std::nullopt;
      if (!p.setServerAddress(s, *gbk)) {
        notice(tr("%1超过%2个字节(一个汉字占两个字节),请缩短").arg(label, QString::number(NetworkParams::kServerAddressMaxText)));
        return std::nullopt;
      }
    }
    p.setSourcePort(s, parseU16Field(servers_[s].sourcePort->text().toStdString()));
    p.setListenPort(s, parseU16Field(servers_[s].listenPort->text().toStdString()));
  }
  // No list position (a count above 8 was shown) travels as 0xFF.
  p.setMaxConnections(static_cast<std::uint8_t>(maxConnections_->currentIndex()));
  return p;
}

void NetworkPage::showRecords() { showParams(); }

bool NetworkPage::storeFields() {
  const auto fields = paramsFromFields();
  if (fields) context_.session->config().network = *fields;
  return fields.has_value();
}

void NetworkPage::writeNetwork() {
  // Before a network answer the record is all zero; a write would wipe the
  // host's hidden bytes.
  if (!requireNetworkRead(context_)) return;
  // Only this host's own settings, read since it was chosen, carry its unnamed bytes.
  if (context_.session->writeRefusal(ParamGroup::Network)) {
    context_.notifier->notify(tr("提示"), tr("没有读到这台主机的网络参数，请在主机列表中重新双击该主机，读到后再写入"),
                              NoticeIcon::Exclamation);
    return;
  }
  if (!storeFields()) return;
  context_.infoLog->clear();
  context_.infoLog->append(tr("设置参数... \r\n"));
  context_.infoLog->refresh();
  // An address typed since this host was chosen names it for this host.
  context_.writer->write(ParamGroup::Network,
                         hostAddress_->isModified() ? IdentityChoice::Replace : IdentityChoice::Keep,
                         [this] { showParams(); });
  context_.notifier->notify(tr("提示"), tr("网络参数已下发，请重新搜索设备，双击设备列表来验证是否下发成功"),
                            NoticeIcon::None);
}

void NetworkPage::factoryReset() {
  context_.infoLog->clear();
  context_.infoLog->append(tr("恢复出厂设置...\r\n"));
  context_.infoLog->refresh();
  context_.writer->factoryReset();
}

void NetworkPage::writeMac() {
  const auto mac = parseMacText(mac_->text().toStdString());
  context_.infoLog->clear();
  // Zero, broadcast and multicast addresses would make the host unreachable.
  if (!mac || !isUsableHostMac(*mac)) {
    context_.infoLog->append(tr("不合格的MAC地址格式!!!\r\n"));
    context_.infoLog->refresh();
    return;
  }
  context_.infoLog->append(tr("写入MAC地址...\r\n"));
  context_.infoLog->refresh();
  context_.writer->writeMac(*mac);
}

}  // namespace quendra
