#pragma once
// What every page needs from the window: the session of the host the window
// works with (its records, flags and operations), the information area,
// message boxes and the wait box. The window fills one PageContext and hands
// it to each page; pages turn the session's results into the tool's texts.
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "pages/info_log.h"
#include "pages/notifier.h"
#include "session/host_session.h"

class QPushButton;

namespace quendra {

class PageWriter;

struct PageContext {
  HostSession* session = nullptr;
  InfoLog* infoLog = nullptr;
  Notifier* notifier = nullptr;
  std::function<void()> openWaitDialog;  // the window-modal (non-blocking) WaitDialog
  std::function<void(ParamGroup)> openRecordTable;  // "表格编辑…": the group's records as one table
  PageWriter* writer = nullptr;  // every write of the pages goes through it
};

// The "表格编辑…" button of a batch group's page.
QPushButton* makeRecordTableButton(const PageContext& context, ParamGroup group);

// Every page's read needs the network settings read: otherwise the "警告" box, and false.
bool requireNetworkRead(const PageContext& context);

// Every page's write needs its own group read first: otherwise a box with the
// page's title and text (exclamation icon), and false.
bool requireGroupRead(const PageContext& context, ParamGroup group, const QString& title, const QString& text);

// The read button of a single-record page (base, GPRS, LED): the "警告" refusal
// before a network answer; otherwise InfoLog shows the page's line and the
// group's read request goes out.
void requestSingleRecordRead(const PageContext& context, ParamGroup group, const QString& infoLine);

// A batch read of the group, and the WaitDialog when it started (a second
// press while the kind runs opens nothing).
void startBatchReadWithWaitBox(const PageContext& context, ParamGroup group);
// A batch page's write: the group's records as the configuration holds them,
// through the page writer, and the WaitDialog when it started.
void writeBatchWithWaitBox(const PageContext& context, ParamGroup group);

// The page's lines for its group: `arrived` when a data reply of the group
// was stored (before it, the page shows the record), `acknowledged` for a
// write acknowledgement, `noAnswer` when a read got no answer after its
// attempts. Each line is appended without clearing the information area.
struct GroupLines {
  QString arrived;
  QString acknowledged;
  QString noAnswer;
};
void connectGroupLines(QObject* page, const PageContext& context, ParamGroup group, std::function<void(int)> show,
                       const GroupLines& lines);

// Screen text <-> GBK bytes (the conversion itself lives in link/gbk).
QString fromGbk(std::string_view gbk);
// The GBK bytes of a field's text; when GBK cannot represent it, a "提示" box
// naming the field and nullopt.
std::optional<std::string> fieldGbk(const PageContext& context, const QString& fieldLabel, const QString& text);
// The text a write takes from a field that showed `recordGbk`: while the
// field still shows exactly that, the record's own bytes (also bytes GBK
// cannot decode, shown as U+FFFD, and a text cut inside a double-byte
// character); once the operator changed it, the typed text cut at a whole
// character within `maxBytes`, or nullopt after the "提示" box.
std::optional<std::string> textForWrite(const PageContext& context, const QString& fieldLabel, const QString& text,
                                        const std::string& recordGbk, std::size_t maxBytes);

}  // namespace quendra
