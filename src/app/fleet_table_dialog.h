#pragma once
// "主机总表...": the hosts of the last search side by side, one row per host,
// the fields of the chosen groups as columns (labels as on their pages, the
// field path as tooltip). "读取" reads every host at once; cells that differ
// from the rest of their column or from an opened baseline configuration
// ("基准配置…") are highlighted, addresses and terminal addresses two hosts
// share are red (fleet_table_model.h). Cells edit as the record tables do: the
// pages' validation, spreadsheet blocks, Ctrl+D, Ctrl+Z. "写入" writes each
// host's changed cells through a job of its own (history first, only what
// differs, read back and verified), one result per row. "导出CSV…" saves the
// table as a fleet roster (config/fleet_roster.h); "导入CSV…" shows a roster's
// cells as edits of its hosts' rows and sends nothing.
#include <QDialog>
#include <memory>
#include <vector>

#include "session/fleet_job.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace quendra {

class FileChooser;
class FleetTableModel;
class HistoryStore;
class Notifier;
class RecordTableView;
struct RosterRow;

class FleetTableDialog : public QDialog {
  Q_OBJECT
 public:
  // The hosts' jobs wait and retry as `policy` says (the window's).
  FleetTableDialog(ReplyRouter& router, const SessionPolicy& policy, HistoryStore& history,
                   std::vector<HostIdentity> hosts, Notifier& notifier, FileChooser& files, QWidget* parent = nullptr);
  ~FleetTableDialog() override;

  bool running() const { return job_ && job_->running(); }

  void read();          // "读取"
  void write();         // "写入"
  void exportCsv();     // "导出CSV…"
  void importCsv();     // "导入CSV…"
  void openBaseline();  // "基准配置…"
  // "关闭": the hosts still at work are cancelled.
  void reject() override;

 signals:
  // A read or a write has ended for every host.
  void jobFinished();

 private:
  enum class Job { Read, Write };
  // The table anew with the chosen groups' columns: `started` as the values
  // the hosts hold, with what `edited` changes of them shown as edits.
  void showTable(std::vector<HostConfig> started, const std::vector<HostConfig>& edited);
  std::vector<HostConfig> editedConfigs() const;
  // The changed cells of row `row`, as a roster row puts them on a host.
  RosterRow editsOf(int row) const;
  void start(Job kind, std::vector<FleetJob::Host> hosts, std::vector<int> rows);
  void hostFinished(int index, const ConfigJobResult& result);
  void allFinished();
  void setStatus(int row, const QString& text, bool bad = false);
  void setControlsEnabled(bool enabled);

  ReplyRouter& router_;
  SessionPolicy policy_;
  HistoryStore& history_;
  Notifier& notifier_;
  FileChooser& files_;
  std::vector<HostIdentity> hosts_;
  std::vector<HostConfig> read_;     // per host: what it holds, as far as read (HostConfig::known)
  std::vector<HostConfig> writing_;  // during a write: the table's values, verified records updated
  std::vector<std::pair<QString, bool>> statuses_;
  std::unique_ptr<FleetJob> job_;
  Job jobKind_ = Job::Read;
  std::vector<int> jobRows_;  // the row of each host of the job
  int failedHosts_ = 0;

  QCheckBox* groups_[kParamGroupCount] = {};
  QCheckBox* allowAll_;
  QPushButton* buttons_[5] = {};
  FleetTableModel* model_ = nullptr;
  RecordTableView* view_;
  QLabel* baselineLine_;
  QLabel* status_;
  QProgressBar* progress_;
};

}  // namespace quendra
