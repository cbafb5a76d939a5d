#pragma once
// The first tab, "网口参数 ": the host's network settings over plain LAN
// commands (read 3 by the device-list double-click, write 4), the network
// factory reset (6) and the writing of a new MAC address (15). Its answer sets
// networkRead, which every other page's read needs.
#include <QWidget>

#include "records/network_params.h"
#include "pages/page_context.h"
#include "pages/record_page.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace quendra {

class NetworkPage : public QWidget, public RecordPage {
  Q_OBJECT
 public:
  void showRecords() override;
  bool storeFields() override;
  explicit NetworkPage(const PageContext& context, QWidget* parent = nullptr);

  // The values the page shows before any read (the constructor writes them).
  void writeStartValues();
  // The double-click's selection, shown in "MAC地址：".
  void showSelectedMac(const Mac& mac);

  // The host's network settings as last read or written.
  const NetworkParams& params() const { return context_.session->config().network; }

 protected:
  // "写入网络参数" is the page's default button: Enter in a field presses it.
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  struct ServerFields {
    QLineEdit* sourcePort = nullptr;
    QLineEdit* listenPort = nullptr;
    QLineEdit* address = nullptr;
  };
  struct AddressField {
    QLineEdit* edit;
    QString label;
  };

  QWidget* buildServerGroup(const QString& title, ServerFields& fields);
  QWidget* buildLocalGroup();
  void applyEnableRule();
  void showParams();

  // Takes the fields into a copy of the record; nullopt after a "提示" box.
  std::optional<NetworkParams> paramsFromFields();

  void writeNetwork();
  void factoryReset();
  void writeMac();

  PageContext context_;
  ServerFields servers_[NetworkParams::kServerCount];
  QLineEdit* hostAddress_ = nullptr;
  QLineEdit* subnetMask_ = nullptr;
  QLineEdit* gateway_ = nullptr;
  QComboBox* addressMode_ = nullptr;
  QComboBox* maxConnections_ = nullptr;
  QLineEdit* mac_ = nullptr;
  QPushButton* writeMacButton_ = nullptr;
  QPushButton* writeButton_ = nullptr;
  QPushButton* resetButton_ = nullptr;
  bool defaultRegistered_ = false;
};

}  // namespace quendra
