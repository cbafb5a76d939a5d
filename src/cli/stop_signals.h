#pragma once
// SIGTERM and SIGINT while a command runs: the handler only writes the
// signal's number into a pipe, and the event loop hears it through a socket
// notifier, so a command stops on the event loop like any other event.
// SIGPIPE is ignored meanwhile: a reader that went away shows as a failed write.
#include <QObject>
#include <QSocketNotifier>
#include <csignal>
#include <memory>

namespace quendra::cli {

class StopSignals : public QObject {
  Q_OBJECT
 public:
  StopSignals();  // installs the handlers
  ~StopSignals() override;  // and puts the previous ones back
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  int received() const { return received_; }  // the first signal's number, 0 before one came

 signals:
  void stopRequested(int signal);

 private:
  void onReadable();

  int received_ = 0;
  std::unique_ptr<QSocketNotifier> notifier_;
  struct sigaction previous_[3]{};
};

}  // namespace quendra::cli
