#pragma once
// The progress of a whole-host operation in the window: a bar over the
// records, the group and record in hand ("正在读取 通道5"), and a Cancel
// button that stops the job. Window-modal but not blocking. (Not a
// QProgressDialog: that one runs the event loop inside setValue, and the
// replies that move the bar would be dispatched inside each other.)
#include <QDialog>

class QLabel;
class QProgressBar;

#include "session/config_job.h"

namespace quendra {

class JobProgress : public QDialog {
  Q_OBJECT
 public:
  // Follows `job` on `session` over the records among `which`.
  JobProgress(ConfigJob& job, HostSession& session, const RecordMasks& which, const QString& title,
              QWidget* parent = nullptr);

 private:
  void advance(int records);
  void showRecord(ConfigJob::Stage stage, ParamGroup group, int record);

  ConfigJob::Stage stage_ = ConfigJob::Stage::Reading;
  QLabel* line_;
  QProgressBar* bar_;
};

// The words of a stage: "读取", "写入", "校验".
QString stageWord(ConfigJob::Stage stage);

}  // namespace quendra
