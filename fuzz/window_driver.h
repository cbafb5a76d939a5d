#pragma once
// Plays one fuzz input into a whole MainDialog (fuzz_window_replies and
// tests/app/fuzz_replay_test): datagrams into its dispatcher, and between them
// read flags, tabs, page buttons and field edits, so the write paths encode
// what a reply put on screen. An input is a sequence of operations, each one
// byte `op` and its operands (a missing byte reads as 0):
//   op % 8 = 0..2  datagram: 2-byte big-endian length, then that many bytes
//   op % 8 = 3     request: one byte r (modulo 152): 0 a search, 1..150 that tunnel
//                  command's record read or written, 151 the network settings read;
//                  replies are applied only to requests open (gates permitting)
//   op % 8 = 4     read flags: one byte, bit i = the i-th flag of ReadFlags
//   op % 8 = 5     tab: one byte, bits 0..6 the tab (modulo their count), bit 7 the window shown
//   op % 8 = 6     click: one byte, a page button (modulo their count)
//   op % 8 = 7     edit: one byte, an input field (modulo their count); then for a drop-down
//                  list one byte (row + 1, 0 = none), for a check box nothing (it
//                  toggles), for a text field a length byte and that much UTF-8 text
// The window's transport sends nothing; it has selected the seeds' simulated host 1.
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <algorithm>
#include <chrono>
#include <vector>

#include "app/device_list.h"
#include "app/main_dialog.h"
#include "pages/info_log.h"

namespace quendra::fuzz {

class WindowDriver {
 public:
  WindowDriver() {  // needs a QApplication
    qApp->installEventFilter(&noPainting_);
    // Requests stay open for the whole of an input (each input starts by stopping them).
    SessionPolicy policy = dialog_.session().policy();
    for (ParamGroup g : kAllGroups) policy.readOf(g).timeout = policy.writeOf(g).timeout = std::chrono::seconds(10);
    dialog_.session().setPolicy(policy);
    dialog_.session().setTarget(Mac{0x02, 0x4B, 0x7D, 0x00, 0x00, 0x01});
    for (QPushButton* b : tabs_->findChildren<QPushButton*>()) buttons_.push_back(b);
    for (QWidget* w : tabs_->findChildren<QWidget*>())
      if (qobject_cast<QComboBox*>(w) || qobject_cast<QCheckBox*>(w) || qobject_cast<QLineEdit*>(w))
        inputs_.push_back(w);
  }

  MainDialog& dialog() { return dialog_; }
  long notices() const { return notifier_.count; }

  // Starts from a hidden window, every flag clear, no batch pass, no host and an empty log; records and fields keep
  // what earlier replies and edits put there.
  void play(const std::uint8_t* data, std::size_t size) {
    dialog_.hide();
    dialog_.session().stop();
    ReadFlags& flags = dialog_.session().flagsForTesting();
    flags = ReadFlags{};
    hostList_->clearRows();
    dialog_.infoLog().clear();
    at_ = data;
    end_ = data + size;
    while (at_ < end_) {
      const std::uint8_t op = byte();
      if (op % 8 == 3) {
        request(byte() % 152);
      } else if (op % 8 == 4) {
        const std::uint8_t bits = byte();
        bool* const each[] = {&flags.networkRead, &flags.baseRead,  &flags.gprsRead, &flags.channelRead,
                              &flags.modbusRead,  &flags.relayRead, &flags.ledRead};
        for (int i = 0; i < 7; ++i) *each[i] = bits >> i & 1;
      } else if (op % 8 == 5) {  // shown pages get show events and run timers
        const std::uint8_t b = byte();
        dialog_.setVisible(b & 0x80);
        tabs_->setCurrentIndex((b & 0x7F) % MainDialog::TabCount);
      } else if (op % 8 == 6) {
        buttons_[byte() % buttons_.size()]->click();
      } else if (op % 8 == 7) {
        edit(inputs_[byte() % inputs_.size()]);
      } else {  // a copy of its own, so AddressSanitizer sees reads past its end
        const std::size_t high = byte();
        emit transport_.received(Datagram{take((high << 8) | byte())});
      }
      QCoreApplication::processEvents();  // timers due, deferred deletes
    }
  }

 private:
  std::uint8_t byte() { return at_ < end_ ? *at_++ : 0; }

  void request(int r) {
    HostSession& session = dialog_.session();
    if (r == 0) return dialog_.search();
    if (r == 151) return void(session.read(ParamGroup::Network));
    const TunnelCommand c = *classifyTunnelCommand(static_cast<std::uint8_t>(r));
    const std::uint32_t records = 1u << c.index;
    c.isWrite ? session.write(c.group, records) : session.read(c.group, records);
  }
  QByteArray take(std::size_t n) {
    n = std::min<std::size_t>(n, end_ - at_);
    at_ += n;
    return QByteArray(reinterpret_cast<const char*>(at_ - n), qsizetype(n));
  }

  // Operands are read whatever the field; a disabled or read-only field is left alone, as it is for the operator.
  void edit(QWidget* w) {
    if (auto* box = qobject_cast<QComboBox*>(w)) {
      const int row = byte() % (box->count() + 1) - 1;
      if (box->isEnabled()) box->setCurrentIndex(row);
    } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
      check->click();  // does nothing when disabled
    } else if (auto* line = qobject_cast<QLineEdit*>(w)) {
      const QString text = QString::fromUtf8(take(byte()));
      if (!line->isEnabled() || line->isReadOnly()) return;
      line->setText(text);
      emit line->textEdited(text);  // as if typed
      emit line->editingFinished();
    }
  }

  struct SilentTransport : Transport { int sendToAll(ByteView) override { return 0; } };
  struct CountingNotifier : Notifier {  // message boxes are counted, never shown
    void notify(const QString&, const QString&, NoticeIcon) override { ++count; }
    long count = 0;
  };
  // Painting, Qt's own code, took most of the time of an input that shows the window.
  struct NoPainting : QObject {
    bool eventFilter(QObject*, QEvent* e) override {
      return e->type() == QEvent::Paint || e->type() == QEvent::UpdateRequest || e->type() == QEvent::Expose;
    }
  };

  const std::uint8_t *at_ = nullptr, *end_ = nullptr;
  // The history of the writes an input makes stays out of the user's data folder.
  bool testPaths_ = (QStandardPaths::setTestModeEnabled(true), true);
  NoPainting noPainting_;
  CountingNotifier notifier_;
  SilentTransport transport_;
  MainDialog dialog_{notifier_, transport_};
  // Found as a test finds them: the tab control by its object name, the one host list by its type.
  QTabWidget* tabs_ = dialog_.findChild<QTabWidget*>(QStringLiteral("parameterTabs"));
  DeviceList* hostList_ = dialog_.findChild<DeviceList*>();
  std::vector<QPushButton*> buttons_;
  std::vector<QWidget*> inputs_;  // QComboBox, QCheckBox, QLineEdit
};

}  // namespace quendra::fuzz
