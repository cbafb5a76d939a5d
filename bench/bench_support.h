#pragma once
// Pieces the window benchmarks share: a notifier that prints, waiting on the
// event loop, the simulator as a child process, and /proc readings. Header
// only; every benchmark opens port 1901 and runs inside a private network
// namespace (the scripts/bench-* wrappers see to that).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "pages/notifier.h"

namespace quendra::bench {

class PrintingNotifier : public Notifier {
 public:
  void notify(const QString& title, const QString& text, NoticeIcon) override {
    ++count;
    std::fprintf(stderr, "message box: %s: %s\n", qPrintable(title), qPrintable(text));
  }
  int count = 0;
};

// Runs the event loop until `done` holds or `timeoutMs` has passed.
inline bool runUntil(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  QTimer wake;  // ends a wait for events when the time is up
  wake.start(std::max(1, timeoutMs / 20));
  while (!done()) {
    if (clock.elapsed() >= timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

// quendra-hostsim with the given options; started() once it printed "ready".
class Simulator {
 public:
  Simulator(const QString& path, const QStringList& arguments) {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(path, arguments);
    started_ = process_.waitForStarted(5000) && process_.waitForReadyRead(10000);
  }
  ~Simulator() {
    process_.terminate();
    if (!process_.waitForFinished(3000)) process_.kill();
  }
  bool started() const { return started_; }

 private:
  QProcess process_;
  bool started_ = false;
};

// A field of /proc/self/status in kB (VmRSS, VmHWM).
inline long statusKb(const char* field) {
  QFile f(QStringLiteral("/proc/self/status"));
  if (!f.open(QIODevice::ReadOnly)) return -1;
  const QByteArray key = QByteArray(field) + ':';
  for (const QByteArray& line : f.readAll().split('\n'))
    if (line.startsWith(key)) return line.mid(key.size()).trimmed().split(' ').first().toLong();
  return -1;
}

inline double median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The nearest-rank percentile (95: the 19th of 20).
inline double percentile(std::vector<double> v, int p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const std::size_t rank = (v.size() * static_cast<std::size_t>(p) + 99) / 100;
  return v[std::max<std::size_t>(rank, 1) - 1];
}

inline double mean(const std::vector<double>& v) {
  double sum = 0;
  for (double x : v) sum += x;
  return v.empty() ? 0 : sum / static_cast<double>(v.size());
}

// "--name value" from argv, or `fallback`.
inline QString option(const QStringList& args, const QString& name, const QString& fallback) {
  const int at = static_cast<int>(args.indexOf(name));
  return at >= 0 && at + 1 < args.size() ? args[at + 1] : fallback;
}

}  // namespace quendra::bench
