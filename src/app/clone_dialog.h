#pragma once
// "复制到其他主机": one configuration written to many hosts at once. The source
// is the selected host's configuration as read, or an opened file; the targets
// are hosts of the last search, chosen with check boxes; the groups too, the
// network settings left out unless chosen. No target takes the source's
// identity (address, terminal address, unnamed network bytes). Each
// host runs its own session in parallel and has a row: its progress, then
// verified, or the records that failed. A host the firmware version gate
// refuses says so on its row and stops nothing else.
#include <QDialog>
#include <memory>
#include <optional>
#include <vector>

#include "config/config_file.h"
#include "session/fleet_job.h"

class QCheckBox;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace quendra {

class HistoryStore;
class ReplyRouter;

class CloneDialog : public QDialog {
  Q_OBJECT
 public:
  struct Source {
    QString description;  // what the source choice says
    ConfigJob::Target target;
    RecordMasks records{};    // what the source holds
    std::optional<Mac> host;  // the host the values are from (nullopt: a file naming none)
  };

  // The hosts' sessions wait and retry as `policy` says (the window's).
  CloneDialog(ReplyRouter& router, const SessionPolicy& policy, HistoryStore& history,
              std::vector<HostIdentity> hosts, std::optional<Source> fromHost, std::optional<Source> fromFile,
              QWidget* parent = nullptr);
  ~CloneDialog() override;

  bool running() const;

 signals:
  // Every host's job has ended: how many verified, how many did not.
  void allFinished(int verified, int failed);

 private:
  void startClone();

  ReplyRouter& router_;
  SessionPolicy policy_;
  HistoryStore& history_;
  std::vector<HostIdentity> hosts_;
  std::optional<Source> sources_[2];
  QRadioButton* sourceButtons_[2] = {};
  QListWidget* hostList_;
  QCheckBox* groups_[kParamGroupCount] = {};
  QTableWidget* results_;
  QPushButton* start_;
  std::unique_ptr<FleetJob> fleet_;
};

}  // namespace quendra
