#pragma once
// Earlier states of hosts, kept before every write (from the window and the
// command line alike) so that an operator who wrote the wrong thing can get
// back what was there: one host configuration file per write, in a folder per
// host MAC, named by the time and the groups it holds; the newest 200 per host
// are kept.
#include <QDateTime>
#include <QString>
#include <vector>

#include "config/config_file.h"

namespace quendra {

class HistoryStore {
 public:
  static constexpr int kKeep = 200;

  struct Entry {
    QString path;
    QDateTime savedAt;
    RecordMasks records{};  // the groups it holds (every record of each)
    QString savedBy;        // the program that wrote to the host after keeping it
    QString user;           // the operating-system user it ran as
  };

  // ~/.local/share/quendra-config/history (the user's data folder).
  static QString defaultFolder();
  explicit HistoryStore(QString folder = defaultFolder());

  // Saves what `state` knows among `which`; false when it knows none of them
  // or the file could not be written (why, in `error`).
  bool save(const HostConfig& state, const RecordMasks& which, const ConfigFileHeader& header,
            QString* error = nullptr);
  // The host's entries, newest first.
  std::vector<Entry> entries(const Mac& host) const;
  const QString& folder() const { return folder_; }

 private:
  QString folderOf(const Mac& host) const;
  QString folder_;
};

}  // namespace quendra
