#pragma once
// quendra-cli: the tool's operations from a shell, on the same session core as
// the window. Results go to `out`, progress (only when wanted) and
// diagnostics to `err`. Every command ends in one of the exit statuses below.
#include <QIODevice>
#include <QStringList>
#include <QTextStream>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

namespace quendra {

class Transport;

namespace cli {

enum ExitStatus {
  kDone = 0,      // all done (and every write verified)
  kUsage = 1,     // usage or file error: nothing was sent
  kNoAnswer = 2,  // a host did not answer or was not found
  kPartly = 3,    // partly done: some records failed or did not verify
  kRefused = 4,   // refused: the firmware version gate, an invalid value
  kDiffers = 5,   // diff --exit-code: the two differ
  kBusy = 6,      // another writer held a host all the while a write waited for it
  kCancelled = 7, // SIGTERM or SIGINT: sending stopped at once
  kOutputClosed = 8,  // standard output could not be written (the reader went away)
};

struct Options {
  QString command;
  QStringList arguments;  // the command's own, in order
  bool json = false;
  bool csv = false;  // read: one group's records as a table
  std::optional<std::uint32_t> localAddress;
  std::optional<std::chrono::milliseconds> timeout;
  std::optional<int> attempts;
  bool fixedWaits = false;  // every wait the whole timeout, exactly `attempts` sends
  std::chrono::milliseconds searchTime{1500};
  QString output;   // read -o
  QString capture;  // every datagram into a pcapng file
  QString templateFile;  // apply --template
  bool dryRun = false;
  bool all = false;
  bool withNetwork = false;
  bool withIdentity = false;
  bool exitCode = false;
  bool yes = false;
  bool allChannels = false;
  std::chrono::milliseconds lockWait{10000};  // how long a write waits for another writer of its host
};

struct Environment {
  QTextStream& out;
  QTextStream& err;
  bool progress = false;  // stderr is a terminal
  // The transport for the options given (the UDP transport on the chosen
  // local addresses; simulated hosts in tests). Null: it could not be opened.
  std::function<Transport*(const Options&)> transport;
  // Where the history of every write goes (empty: the user's, which the window shows).
  QString historyFolder;
  QIODevice* in = nullptr;  // what FILE "-" reads (null: nothing can be read)
  QStringList lockFolders;  // where the writers' host locks are (empty: the user's and the machine's)
};

// Runs one command line (arguments without the program name).
int run(const QStringList& arguments, Environment& environment);

}  // namespace cli
}  // namespace quendra
