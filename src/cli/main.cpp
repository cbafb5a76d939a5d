// quendra-cli: the tool's operations from a shell or a script, over UDP port
// 1901 on the local network.
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>
#include <memory>
#include <unistd.h>

#include "cli/cli.h"
#include "records/field_text.h"
#include "session/local_addresses.h"
#include "session/udp_transport.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTextStream out(stdout), err(stderr);
  std::unique_ptr<quendra::UdpTransport> udp;
  quendra::cli::Environment env{out, err, isatty(STDERR_FILENO) != 0, nullptr, {}};
  env.transport = [&](const quendra::cli::Options& o) -> quendra::Transport* {
    udp = std::make_unique<quendra::UdpTransport>();
    if (o.localAddress) {
      const std::uint32_t only = *o.localAddress;
      const auto all = quendra::localIpv4Addresses();
      if (std::find(all.begin(), all.end(), only) == all.end()) {
        err << "quendra-cli: " << QString::fromStdString(quendra::formatDottedAddress(only))
            << " is not an address of this computer" << Qt::endl;
        return nullptr;
      }
      udp->setAddressProvider([only] { return std::vector<std::uint32_t>{only}; });
    }
    QObject::connect(udp.get(), &quendra::UdpTransport::failed, [&err](quendra::TransportFailure f) {
      err << "quendra-cli: socket failure on port 1901 (" << static_cast<int>(f)
          << "); is another program using it?" << Qt::endl;
    });
    udp->openLink();
    return udp.get();
  };
  return quendra::cli::run(app.arguments().mid(1), env);
}
