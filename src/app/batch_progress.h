#pragma once
// The words of a batch: the progress line of the wait box for every record
// sent and answered, the information area's line for every abandoned record,
// and the summary of each pass. Operators judge a batch by these lines (which
// record failed, whether the pass completed), so their wording is fixed.
#include <QObject>
#include <functional>

#include "session/batch_runner.h"

namespace quendra {

class InfoLog;

class BatchProgress : public QObject {
  Q_OBJECT
 public:
  using ProgressLine = std::function<void(const QString&)>;  // the wait box's line
  BatchProgress(InfoLog& infoLog, ProgressLine showProgress, QObject* parent = nullptr);

  void show(const BatchEvent& event);

 private:
  InfoLog& infoLog_;
  ProgressLine showProgress_;
};

}  // namespace quendra
