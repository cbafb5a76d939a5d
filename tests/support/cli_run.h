#pragma once
// quendra-cli run in process against simulated hosts: its output as text, its history and host locks in a folder of
// the test's own, short search and answer waits.
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "cli/cli.h"
#include "support/fleet_transport.h"

namespace quendra::test {

struct CliRun {
  int status;
  QString out, err;
  QList<QJsonObject> lines() const {  // every line one JSON object
    QList<QJsonObject> objects;
    for (const QString& line : out.split('\n', Qt::SkipEmptyParts)) {  // a line that is not one object stays text
      const QJsonDocument d = QJsonDocument::fromJson(line.toUtf8());
      objects << (d.isObject() ? d.object() : QJsonObject{{"bad line", line}});
    }
    return objects;
  }
};

struct CliFleet {
  FleetTransport transport;
  QTemporaryDir dir;
  explicit CliFleet(int hosts = 3, double dropPercent = 0, std::uint8_t trailerLow = 10)
      : transport(sim::SimOptions{.hosts = hosts, .dropPercent = dropPercent, .trailerLow = trailerLow}) {}

  CliRun cli(QStringList args, QIODevice* in = nullptr, QTextStream* outStream = nullptr) {
    QString out, err;
    QTextStream o(&out), e(&err);
    cli::Environment env{outStream ? *outStream : o, e, false,
                         [this](const cli::Options&) -> Transport* { return &transport; }, path("history"), in,
                         {path("locks")}};
    args << "--search-time" << "50" << "--timeout" << "30";
    return {cli::run(args, env), out, err};  // in this order
  }
  QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
  sim::SimHost& host(int i) { return transport.fleet().hosts()[i]; }
  // Requests that change a host (network settings, factory reset, MAC or a tunnel write command), from request `from`.
  int writesSent(qsizetype from = 0) const {
    int n = 0;
    for (qsizetype i = from; i < transport.requests().size(); ++i) {
      const SentRequest r = readSent(transport.requests()[i]);
      const auto tunnel = classifyTunnelCommand(std::uint8_t(r.tunnelCommand));
      n += r.command == kWriteNetwork || r.command == kFactoryReset || r.command == kWriteMac || (tunnel && tunnel->isWrite);
    }
    return n;
  }
};

}  // namespace quendra::test
