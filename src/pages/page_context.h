#pragma once
// What every page needs from the window: the flags, the selected host, the
// information area, message boxes, the transport and the batch sequencer.
// The window fills one PageContext and hands it to each page.
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "link/batch_masks.h"
#include "link/bytes.h"
#include "link/notifier.h"
#include "link/outer_frame.h"
#include "link/read_flags.h"
#include "link/tunnel_commands.h"

namespace quendra {

class InfoLog;
class BatchTransfer;

struct PageContext {
  ReadFlags* flags = nullptr;
  const Mac* selectedDevice = nullptr;  // SelectedDevice
  InfoLog* infoLog = nullptr;
  Notifier* notifier = nullptr;
  std::function<void(ByteView)> sendToAll;
  BatchTransfer* batch = nullptr;
  std::function<void()> openWaitDialog;  // the modal (non-blocking) WaitDialog
};

// Every page's read needs networkRead: otherwise the "警告" box, and false.
bool requireNetworkRead(const PageContext& context);

// Every page's write needs its own group read first: otherwise a box with the
// page's title and text (exclamation icon), and false.
bool requireGroupRead(const PageContext& context, bool groupRead, const QString& title, const QString& text);

// Wraps 7E command payload CRC in an outer tunnel request to SelectedDevice
// and sends it.
void sendTunnelRequest(const PageContext& context, std::uint8_t command, ByteView payload = {});

// The read button of a single-record page (base, GPRS, LED): the "警告" refusal
// before a network answer; otherwise InfoLog shows the page's line and the
// group's read request goes out.
void requestSingleRecordRead(const PageContext& context, ParamGroup group, const QString& infoLine);

// startBatch, and the WaitDialog when the batch was accepted (a second press
// while the kind runs opens nothing).
void startBatchWithWaitBox(const PageContext& context, BatchKind kind);

// Screen text <-> GBK bytes (the conversion itself lives in link/gbk).
QString fromGbk(std::string_view gbk);
// The GBK bytes of a field's text; when GBK cannot represent it, a "提示" box
// naming the field and nullopt.
std::optional<std::string> fieldGbk(const PageContext& context, const QString& fieldLabel, const QString& text);

}  // namespace quendra
