#include "support/test_support.h"

#include <QFile>
#include <QTest>

namespace quendra::test {

HostSim::HostSim(const QStringList& arguments) {
  QStringList args = arguments;
  args << QStringLiteral("--log") << logPath();
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_.start(QStringLiteral(QUENDRA_HOSTSIM_PATH), args);
  // The simulator prints one line ("ready") once its socket is bound.
  started_ = process_.waitForStarted(5000) && process_.waitForReadyRead(5000);
}

HostSim::~HostSim() {
  process_.terminate();
  if (!process_.waitForFinished(3000)) process_.kill();
}

QString HostSim::logPath() const { return dir_.filePath(QStringLiteral("requests.log")); }

QStringList HostSim::requestLog() const {
  QFile f(logPath());
  if (!f.open(QIODevice::ReadOnly)) return {};
  QStringList lines;
  for (const QByteArray& line : f.readAll().split('\n'))
    if (!line.trimmed().isEmpty()) lines << QString::fromLatin1(line.trimmed());
  return lines;
}

}  // namespace quendra::test
