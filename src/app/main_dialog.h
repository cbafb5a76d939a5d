#pragma once
// The tool's only top-level window: the PC address and "搜索", the list of
// hosts found, the information area and the seven parameter tabs. It wires the
// transport, the reply router and the session of the selected host to the
// pages, and turns what the core reports into the tool's texts and boxes.
#include <QDialog>
#include <QPointer>
#include <QSet>
#include <memory>

#include "app/batch_progress.h"
#include "app/config_actions.h"
#include "app/file_chooser.h"
#include "pages/info_log.h"
#include "pages/page_context.h"
#include "pages/page_writer.h"
#include "session/host_finder.h"
#include "session/host_session.h"
#include "session/reply_router.h"
#include "session/udp_transport.h"

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
class TrafficLog;
class TrafficWindow;
class WaitDialog;

class MainDialog : public QDialog {
  Q_OBJECT
 public:
  // Tab indexes, in the order of the tab control.
  enum Tab { NetworkTab, GprsTab, BaseTab, ChannelTab, ModbusTab, RelayTab, LedTab, TabCount };

  // The window on UDP port 1901; `addresses` replaces the PC's interface list
  // (tests give fixed lists).
  explicit MainDialog(Notifier& notifier, UdpTransport::AddressProvider addresses = {}, QWidget* parent = nullptr);
  // The window on another transport (simulated hosts in tests and benchmarks).
  MainDialog(Notifier& notifier, Transport& transport, QWidget* parent = nullptr);
  ~MainDialog() override;

  // "搜索": empties the list and broadcasts the search request.
  void search();
  // Double-click in the list: the first selected row becomes SelectedDevice
  // and its network parameters are requested.
  void selectDevice();
  void showAbout();
  // "通信记录...": the traffic window, opened once and raised after.
  void showTraffic();

  // The core objects behind the window (not widgets): tests, benchmarks and the screenshots drive the selected
  // host's session, follow the information area's refreshes, hear the router's transport and weigh the traffic log;
  // widgets are found as an operator finds them (texts, accessible and object names).
  HostSession& session() { return *session_; }
  InfoLog& infoLog() { return infoLog_; }
  ReplyRouter& router() { return *router_; }
  TrafficLog& trafficLog() { return *trafficLog_; }
  // Tests answer the file dialogs in place of an operator.
  void setFileChooser(FileChooser& files) { actions_->setFileChooser(files); }

 public slots:
  // The close request: the sockets are closed before the window ends.
  void done(int result) override;

 protected:
  // Enter reaches a page's default button only from inside that page.
  void keyPressEvent(QKeyEvent* event) override;
  // A configuration file dropped on the window is opened.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  MainDialog(Notifier& notifier, std::unique_ptr<UdpTransport> own, Transport* transport, QWidget* parent);
  QWidget* buildLeftColumn();
  void createPages();
  QWidget* buildConfigButtons();
  void createConfigActions();
  void wireSession();
  void addSearchAnswer(const FoundHost& host);
  void showTransportFailure(TransportFailure failure);
  void showPcAddress(const std::vector<std::uint32_t>& addresses);

  Notifier& notifier_;
  InfoLog infoLog_;
  std::unique_ptr<UdpTransport> ownTransport_;
  Transport& transport_;
  std::unique_ptr<TrafficLog> trafficLog_;
  std::unique_ptr<ReplyRouter> router_;
  std::unique_ptr<HostSession> session_;
  std::unique_ptr<HostFinder> finder_;
  std::unique_ptr<BatchProgress> batchProgress_;
  DialogFileChooser dialogFiles_;
  HistoryStore history_;
  std::unique_ptr<PageWriter> pageWriter_;
  std::unique_ptr<ConfigActions> actions_;
  std::optional<HostIdentity> selected_;
  // The addresses and MACs (as numbers) the search has heard so far.
  QSet<std::uint32_t> heardAddresses_;
  QSet<std::uint64_t> heardMacs_;
  PageContext context_;

  QLineEdit* pcAddress_ = nullptr;
  QLineEdit* port_ = nullptr;
  QPushButton* searchButton_ = nullptr;
  QPushButton* aboutButton_ = nullptr;
  static constexpr int kConfigButtons = 7;
  QPushButton* configButtons_[kConfigButtons] = {};
  QPushButton* trafficButton_ = nullptr;
  QPointer<TrafficWindow> trafficWindow_;
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
