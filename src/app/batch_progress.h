#pragma once
// The words of a batch: the progress line of the wait box for every record
// sent and answered, the information area's line for every abandoned record,
// and the summary of each pass, exactly as the host tool shows them.
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
