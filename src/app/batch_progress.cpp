#include "app/batch_progress.h"

#include "app/config_words.h"
#include "pages/info_log.h"

namespace quendra {
namespace {

// What differs between the six kinds; %1 is the record number (k + 1).
struct KindTexts {
  const char* sent;       // progress when the request goes out
  const char* answered;   // progress when the record is answered
  const char* failed;     // InfoLog line of an abandoned record
  const char* allDone;    // summaries
  const char* notAllDone;
  const char* cancelled;  // another host was chosen while it ran
};

// In the order of BatchKind; translated when shown.
const KindTexts kTexts[kBatchKindCount] = {
    {QT_TRANSLATE_NOOP("quendra::BatchProgress", "正在读取通道%1参数"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "通道%1参数读取成功!"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "通道%1参数读取失败\r\n"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "---通道参数读取成功!---"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "通道参数读取失败......"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "已选择其他主机，通道参数读取已取消")},
    {QT_TRANSLATE_NOOP("quendra::BatchProgress", "正在写入通道%1参数"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "通道%1参数写入成功!"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "通道%1参数写入失败\r\n"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "---通道参数写入成功!---"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "通道参数写入失败......"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "已选择其他主机，通道参数写入已取消")},
    {QT_TRANSLATE_NOOP("quendra::BatchProgress", "正在读取继电器%1参数"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "正在读取继电器%1参数"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "读取继电器%1参数失败\r\n"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "---继电器参数读取成功!---"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "继电器参数读取失败......"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "已选择其他主机，继电器参数读取已取消")},
    {QT_TRANSLATE_NOOP("quendra::BatchProgress", "正在写入继电器%1参数"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "正在写入继电器%1参数"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "写入继电器%1参数失败\r\n"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "---继电器参数写入成功!---"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "继电器参数写入失败......"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "已选择其他主机，继电器参数写入已取消")},
    {QT_TRANSLATE_NOOP("quendra::BatchProgress", "正在读取ModBus%1参数"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "正在读取ModBus%1参数"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "读取ModBus%1参数失败\r\n"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "---ModBus参数读取成功!---"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "ModBus参数读取失败......"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "已选择其他主机，ModBus参数读取已取消")},
    {QT_TRANSLATE_NOOP("quendra::BatchProgress", "正在写入ModBus%1参数"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "正在写入ModBus%1参数"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "写入ModBus%1参数失败\r\n"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "---ModBus参数写入成功!---"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "ModBus参数写入失败......"),
     QT_TRANSLATE_NOOP("quendra::BatchProgress", "已选择其他主机，ModBus参数写入已取消")},
};

QString textOf(const char* pattern, int record) { return BatchProgress::tr(pattern).arg(record + 1); }

}  // namespace

BatchProgress::BatchProgress(InfoLog& infoLog, ProgressLine showProgress, QObject* parent)
    : QObject(parent), infoLog_(infoLog), showProgress_(std::move(showProgress)) {}

void BatchProgress::show(const BatchEvent& e) {
  const KindTexts& t = kTexts[static_cast<int>(e.kind)];
  // A new batch empties InfoLog: a channel read after its first request,
  // the other kinds before it.
  const bool channelRead = e.kind == BatchKind::ChannelRead;
  using Stage = BatchEvent::Stage;
  switch (e.stage) {
    case Stage::Sending:
      if (e.record == 0 && !channelRead) infoLog_.clear();
      break;
    case Stage::Sent:
      if (channelRead) infoLog_.refresh();
      showProgress_(textOf(t.sent, e.record));
      if (e.record == 0 && channelRead) infoLog_.clear();
      break;
    case Stage::Answered:
      showProgress_(textOf(t.answered, e.record));
      break;
    case Stage::Failed:
      infoLog_.append(textOf(t.failed, e.record));
      infoLog_.refresh();
      break;
    case Stage::Finished:
      if (e.cancelled) {
        showProgress_(tr(t.cancelled));
        infoLog_.append(tr(t.cancelled) + QStringLiteral("\r\n"));
        infoLog_.refresh();
        break;
      }
      showProgress_(tr(e.allAnswered ? t.allDone : t.notAllDone));
      if (e.hostGone) {
        RecordMasks done{}, notDone{};
        done[static_cast<int>(groupOf(e.kind))] = e.done;
        notDone[static_cast<int>(groupOf(e.kind))] = e.failed;
        infoLog_.append(hostGoneText(isWriteKind(e.kind), done, notDone) + QStringLiteral("\r\n"));
        infoLog_.refresh();
      }
      break;
  }
}

}  // namespace quendra
