// quendra-cli: the tool's operations from a shell or a script, over UDP port
// 1901 on the local network.
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QLocale>
#include <QTextStream>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>

#include "cli/cli.h"
#include "records/field_text.h"
#include "language/interface_language.h"
#include "session/local_addresses.h"
#include "session/udp_transport.h"

namespace {

// A PDF report needs fonts, and fonts a GUI application object; it runs on the
// offscreen platform, so no display is needed. Every other command needs neither.
std::unique_ptr<QCoreApplication> applicationFor(int& argc, char** argv) {
  bool report = false, pdf = false;
  for (int i = 1; i < argc; ++i) {
    report = report || std::strcmp(argv[i], "report") == 0;
    pdf = pdf || QByteArray(argv[i]).toLower().endsWith(".pdf");
  }
  if (!report || !pdf) return std::make_unique<QCoreApplication>(argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

int main(int argc, char** argv) {
  const std::unique_ptr<QCoreApplication> app = applicationFor(argc, argv);
  // Reports speak the desktop's language, as the window does.
  if (quendra::prefersEnglish(QLocale::system().uiLanguages())) quendra::installEnglish(*app);
  // Standard output unbuffered below the text stream: a closed pipe shows as a failed write at once.
  QFile stdoutFile, stdinFile;
  stdoutFile.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
  stdinFile.open(STDIN_FILENO, QIODevice::ReadOnly);
  QTextStream out(&stdoutFile), err(stderr);
  std::unique_ptr<quendra::UdpTransport> udp;
  quendra::cli::Environment env{out, err, isatty(STDERR_FILENO) != 0, nullptr, {}, &stdinFile, {}};
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
  return quendra::cli::run(app->arguments().mid(1), env);
}
