#pragma once
// Plays one fuzz input into a whole MainDialog: datagrams into its dispatcher
// (every page's routes, codecs and apply operations), and between them the
// read flags, the tabs, the page buttons and the input fields, so the write
// paths encode what a reply put on screen. State carries from one operation to
// the next inside an input. Shared by fuzz_window_replies and the Qt test
// that replays the corpus and the regressions (tests/gui/fuzz_replay_net_test).
//
// Input: a sequence of operations, each one byte `op` and its operands:
//   op % 8 = 0..3  datagram: 2-byte big-endian length, then that many bytes
//                  (fewer when the input ends first)
//   op % 8 = 4     read flags: one byte, bit i = the i-th flag of ReadFlags
//   op % 8 = 5     tab: one byte, bits 0..6 the tab index modulo the tab
//                  count; bit 7 set: the window shown, clear: hidden
//   op % 8 = 6     click: one byte, a page button (modulo their count)
//   op % 8 = 7     edit: one byte choosing an input field (modulo their
//                  count), then for a drop-down list one byte (row + 1, 0 =
//                  none), for a check box nothing (it toggles), for a text
//                  field one length byte and that many bytes of UTF-8 text
//
// The window runs on a transport that sends nothing and hears only the input's
// datagrams, from the host it has selected (the seeds' simulated host 1) or,
// where the input says so, from others.
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/device_list.h"
#include "pages/info_log.h"
#include "app/main_dialog.h"
#include "link/bytes.h"

namespace quendra::fuzz {

// Hears what the input says and sends nothing.
class InputTransport : public Transport {
 public:
  int sendToAll(ByteView) override { return 0; }
  void hear(const Bytes& datagram) {
    emit received(Datagram{QByteArray(reinterpret_cast<const char*>(datagram.data()), qsizetype(datagram.size()))});
  }
};

// Message boxes are counted, never shown.
class CountingNotifier : public Notifier {
 public:
  void notify(const QString&, const QString&, NoticeIcon) override { ++count; }
  long count = 0;
};

class WindowDriver {
 public:
  // Needs a QApplication.
  WindowDriver() {
    qApp->installEventFilter(&noPainting_);
    // Attempts time out at once, so an operation moves on with every
    // input's event processing instead of waiting for wall time.
    SessionPolicy policy = dialog_.session().policy();
    for (ParamGroup g : kAllGroups) policy.readOf(g).timeout = policy.writeOf(g).timeout = std::chrono::milliseconds(0);
    dialog_.session().setPolicy(policy);
    dialog_.session().setTarget(kSelectedHost);
    for (QPushButton* b : dialog_.tabs()->findChildren<QPushButton*>()) buttons_.push_back(b);
    for (QWidget* w : dialog_.tabs()->findChildren<QWidget*>())
      if (qobject_cast<QComboBox*>(w) || qobject_cast<QCheckBox*>(w) || qobject_cast<QLineEdit*>(w))
        inputs_.push_back(w);
  }

  MainDialog& dialog() { return dialog_; }
  long notices() const { return notifier_.count; }

  // Plays one input, starting from a hidden window with every flag clear, no
  // batch pass, no host listed and an empty log. Records and fields stay from the
  // previous input: they only ever hold what some reply or edit put there.
  void play(const std::uint8_t* data, std::size_t size) {
    reset();
    Input in{data, size};
    while (!in.empty()) {
      const std::uint8_t op = in.byte();
      switch (op % 8) {
        case 4: setFlags(in.byte()); break;
        case 5: showTab(in.byte()); break;
        case 6: buttons_[in.byte() % buttons_.size()]->click(); break;
        case 7: edit(inputs_[in.byte() % inputs_.size()], in); break;
        default: {
          const std::size_t high = in.byte();
          const std::size_t length = (high << 8) | in.byte();
          // A buffer of its own, so AddressSanitizer sees any read past its end.
          const ByteView bytes = in.take(length);
          const Bytes datagram(bytes.begin(), bytes.end());
          transport_.hear(datagram);
          break;
        }
      }
      QCoreApplication::processEvents();  // timers due, deferred deletes
    }
  }

 private:
  class Input {
   public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    std::uint8_t byte() { return empty() ? 0 : data_[at_++]; }
    ByteView take(std::size_t n) {
      n = std::min(n, size_ - at_);
      const ByteView v(data_ + at_, n);
      at_ += n;
      return v;
    }

   private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
  };

  void reset() {
    dialog_.hide();
    dialog_.session().flagsForTesting() = ReadFlags{};
    // Whatever waits ends after its current attempt.
    for (int i = 0; i < 1000 && !dialog_.session().idle(); ++i) QCoreApplication::processEvents();
    dialog_.deviceList()->clearRows();
    dialog_.infoLog().clear();
  }

  void setFlags(std::uint8_t bits) {
    ReadFlags& f = dialog_.session().flagsForTesting();
    f.networkRead = bits & 0x01;
    f.baseRead = bits & 0x02;
    f.gprsRead = bits & 0x04;
    f.channelRead = bits & 0x08;
    f.modbusRead = bits & 0x10;
    f.relayRead = bits & 0x20;
    f.ledRead = bits & 0x40;
  }

  // Shown pages get their show events and run their timers (painting is
  // filtered out); every input starts with the window hidden.
  void showTab(std::uint8_t b) {
    dialog_.setVisible(b & 0x80);
    dialog_.tabs()->setCurrentIndex((b & 0x7F) % MainDialog::TabCount);
  }

  // Operands are read whatever the field; a disabled or read-only field is
  // left alone, as it is for the operator.
  static void edit(QWidget* w, Input& in) {
    const bool editable = w->isEnabled();
    if (auto* box = qobject_cast<QComboBox*>(w)) {
      const int row = in.byte() % (box->count() + 1) - 1;
      if (editable) box->setCurrentIndex(row);
    } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
      check->click();  // does nothing when disabled
    } else if (auto* line = qobject_cast<QLineEdit*>(w)) {
      const ByteView bytes = in.take(in.byte());
      if (!editable || line->isReadOnly()) return;
      const QString text =
          QString::fromUtf8(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
      line->setText(text);
      emit line->textEdited(text);  // as if typed
      emit line->editingFinished();
    }
  }

  // Painting is Qt's own code and took most of the time of an input that
  // shows the window; the window has no painting of its own.
  class NoPainting : public QObject {
   public:
    bool eventFilter(QObject*, QEvent* e) override {
      return e->type() == QEvent::Paint || e->type() == QEvent::UpdateRequest || e->type() == QEvent::Expose;
    }
  };

  static constexpr Mac kSelectedHost{0x02, 0x4B, 0x7D, 0x00, 0x00, 0x01};

  NoPainting noPainting_;
  CountingNotifier notifier_;
  InputTransport transport_;
  MainDialog dialog_{notifier_, transport_};
  std::vector<QPushButton*> buttons_;
  std::vector<QWidget*> inputs_;  // QComboBox, QCheckBox, QLineEdit
};

}  // namespace quendra::fuzz
