#pragma once
// The window's whole-host operations: save the selected host's configuration
// to a file, open a file onto the pages, write everything the pages hold
// (compared first, verified after), the history kept before every write with
// its restore, copying a configuration to other hosts, the record tables of
// the batch pages and the commissioning report. Nothing is sent unless the
// operator confirms a compare dialog, writes a table or starts a copy.
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "config/config_file.h"
#include "config/history_store.h"
#include "session/config_job.h"

class QWidget;

namespace quendra {

class CloneDialog;
class CompareDialog;
class FleetTableDialog;
class FileChooser;
class HistoryDialog;
class InfoLog;
class JobProgress;
class Notifier;
class RecordPage;
class RecordTableDialog;
class ReplyRouter;

class ConfigActions : public QObject {
  Q_OBJECT
 public:
  // What the operations need from the window.
  struct Window {
    QWidget* parent = nullptr;
    HostSession* session = nullptr;
    ReplyRouter* router = nullptr;
    InfoLog* infoLog = nullptr;
    Notifier* notifier = nullptr;
    std::vector<std::pair<ParamGroup, RecordPage*>> pages;
    std::function<std::optional<HostIdentity>()> selectedHost;
    std::function<std::vector<HostIdentity>()> hostsFound;
    // The hosts of the last search, each once, as first heard.
    std::function<std::vector<HostIdentity>()> searchedHosts;
  };

  ConfigActions(Window window, FileChooser& files, HistoryStore& store, QObject* parent = nullptr);
  ~ConfigActions() override;

  void saveConfig();                    // "保存配置..."
  void openConfig();                    // "打开配置..."
  void openFile(const QString& path);   // also a file dropped on the window
  void writeAll();                      // "写入全部..."
  void showHistory();                   // "历史记录..."
  void cloneToHosts();                  // "复制到其他主机..."
  void editTable(ParamGroup group);     // "表格编辑…" of the channel, ModBus and relay pages
  void exportReport();                  // "导出报告..."
  void showFleetTable();                // "主机总表..."

  void setFileChooser(FileChooser& files) { files_ = &files; }
  bool busy() const { return job_ != nullptr; }

 private:
  bool requireSelectedHost();
  void startJob(const QString& title, const RecordMasks& which);
  // Reads every record of the selected host (a job that writes nothing), then `done`.
  void readWholeHost(const QString& title, void (ConfigActions::*done)(const ConfigJobResult&));
  // Writes `which` as `target` asks, after a compare dialog when `confirm`;
  // `own`: the records that are the host's own values (nullopt: as the
  // session knows them); a cancelled write puts `restoreOnCancel` back onto
  // the pages.
  void runWrite(const QString& title, ConfigJob::Target target, const RecordMasks& which,
                std::optional<RecordMasks> own, std::optional<HostConfig> restoreOnCancel, bool confirm = true);
  void writeTable();
  void saved(const ConfigJobResult& result);
  void reportRead(const ConfigJobResult& result);
  // Why a read-only job stopped short ("保存配置已取消", ...); empty when it read.
  QString jobStopped(const ConfigJobResult& result, const QString& cancelled, const QString& notDone);
  void written(const ConfigJobResult& result);
  void line(const QString& text);
  void showPages(const RecordMasks& which);

  Window w_;
  FileChooser* files_;
  HistoryStore& store_;
  std::unique_ptr<ConfigJob> job_;
  HostIdentity jobHost_;
  std::optional<std::pair<ConfigFile, QString>> opened_;
  QPointer<JobProgress> progress_;
  QPointer<CompareDialog> compare_;
  QPointer<HistoryDialog> historyDialog_;
  QPointer<CloneDialog> clone_;
  QPointer<RecordTableDialog> table_;
  QPointer<FleetTableDialog> fleet_;
  std::optional<HostConfig> restoreOnCancel_;
  RecordMasks ownBefore_{};  // the session's own records when the write began
};

}  // namespace quendra
