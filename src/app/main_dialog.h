#pragma once
// The tool's only top-level window: the PC address and "搜索", the list of
// hosts found, the information area and the seven parameter tabs. It owns the
// flags, the selected host, the information log, the transport, the reply
// dispatcher and the batch sequencer, and hands the pages one PageContext.
#include <QDialog>

#include "app/info_log.h"
#include "link/batch_transfer.h"
#include "link/read_flags.h"
#include "link/response_dispatcher.h"
#include "link/udp_link.h"
#include "pages/page_context.h"

class QLineEdit;
class QPushButton;
class QTabWidget;

namespace quendra {

class BasePage;
class ChannelPage;
class DeviceList;
class GprsPage;
class InfoLogView;
class LedPage;
class ModbusPage;
class NetworkPage;
class RelayPage;
class WaitDialog;

class MainDialog : public QDialog {
  Q_OBJECT
 public:
  // Tab indexes, in the order of the tab control.
  enum Tab { NetworkTab, GprsTab, BaseTab, ChannelTab, ModbusTab, RelayTab, LedTab, TabCount };

  // `addresses` replaces the PC's interface list (tests give fixed lists).
  explicit MainDialog(Notifier& notifier, UdpLink::AddressProvider addresses = {}, QWidget* parent = nullptr);
  ~MainDialog() override;

  // "搜索": empties the list and broadcasts the search request.
  void search();
  // Double-click in the list: the first selected row becomes SelectedDevice
  // and its network parameters are requested.
  void selectDevice();
  void showAbout();

  ReadFlags& flags() { return flags_; }
  const Mac& selectedDevice() const { return selectedDevice_; }
  InfoLog& infoLog() { return infoLog_; }
  UdpLink& link() { return link_; }
  BatchTransfer& batch() { return batch_; }
  ResponseDispatcher& dispatcher() { return dispatcher_; }
  DeviceList* deviceList() const { return deviceList_; }
  InfoLogView* infoLogView() const { return infoLogView_; }
  QTabWidget* tabs() const { return tabs_; }
  QLineEdit* pcAddressField() const { return pcAddress_; }
  QLineEdit* portField() const { return port_; }
  QPushButton* searchButton() const { return searchButton_; }
  QPushButton* aboutButton() const { return aboutButton_; }
  WaitDialog* waitDialog() const { return waitDialog_; }
  NetworkPage* networkPage() const { return networkPage_; }
  BasePage* basePage() const { return basePage_; }
  GprsPage* gprsPage() const { return gprsPage_; }
  ChannelPage* channelPage() const { return channelPage_; }
  ModbusPage* modbusPage() const { return modbusPage_; }
  RelayPage* relayPage() const { return relayPage_; }
  LedPage* ledPage() const { return ledPage_; }

 public slots:
  // The close request: the sockets are closed before the window ends.
  void done(int result) override;

 protected:
  // Enter reaches a page's default button only from inside that page.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QWidget* buildLeftColumn();
  void createPages();
  void wireDispatcher();
  BatchTransfer::Hooks batchHooks();
  void sendRecordRequest(std::uint8_t command);
  void addSearchAnswer(const SearchAnswer& answer);
  void showPcAddress(const UdpLink::AddressProvider& addresses);

  Notifier& notifier_;
  InfoLog infoLog_;
  ReadFlags flags_;
  Mac selectedDevice_{};
  UdpLink link_;
  ResponseDispatcher dispatcher_;
  BatchTransfer batch_;
  PageContext context_;

  QLineEdit* pcAddress_ = nullptr;
  QLineEdit* port_ = nullptr;
  QPushButton* searchButton_ = nullptr;
  QPushButton* aboutButton_ = nullptr;
  DeviceList* deviceList_ = nullptr;
  InfoLogView* infoLogView_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  WaitDialog* waitDialog_ = nullptr;
  NetworkPage* networkPage_ = nullptr;
  BasePage* basePage_ = nullptr;
  GprsPage* gprsPage_ = nullptr;
  ChannelPage* channelPage_ = nullptr;
  ModbusPage* modbusPage_ = nullptr;
  RelayPage* relayPage_ = nullptr;
  LedPage* ledPage_ = nullptr;
};

}  // namespace quendra
