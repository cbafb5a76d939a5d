#pragma once
// The tab page "LED屏参数": the LED screen's LedParams over tunnel commands
// 150 (read) and 149 (write): size, channel and column counts, refresh
// interval, data-table switch, header and footer. A write needs ledRead.
#include <QWidget>
#include <optional>

#include "link/bytes.h"
#include "link/response_dispatcher.h"
#include "pages/led_params.h"
#include "pages/page_context.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace quendra {

class LedPage : public QWidget {
  Q_OBJECT
 public:
  explicit LedPage(const PageContext& context, QWidget* parent = nullptr);
  // Data reply 150 -> applyReadReply, acknowledgement 149 -> applyAcknowledgement.
  void registerRoutes(ResponseDispatcher& dispatcher);

  void requestRead();   // "读取LED屏参数"
  void requestWrite();  // "下载LED屏参数"

  void applyReadReply(ByteView payload);
  void applyAcknowledgement();
  void showLedReply();

  const LedParams& params() const { return params_; }

 private:
  // The fields as a record; nullopt after a refusal box.
  std::optional<LedParams> paramsFromFields();

  PageContext context_;
  LedParams params_;
  QLineEdit* sizeX_ = nullptr;
  QLineEdit* sizeY_ = nullptr;
  QCheckBox* showDataTable_ = nullptr;
  QComboBox* channelCount_ = nullptr;
  QComboBox* columnCount_ = nullptr;
  QLineEdit* refreshInterval_ = nullptr;
  QLineEdit* headerText_ = nullptr;
  QCheckBox* headerEnabled_ = nullptr;
  QLineEdit* footerText_ = nullptr;
  QCheckBox* footerEnabled_ = nullptr;
};

}  // namespace quendra
