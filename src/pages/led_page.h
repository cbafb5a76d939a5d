#pragma once
// The tab page "LED屏参数": the LED screen's LedParams over tunnel commands
// 150 (read) and 149 (write): size, channel and column counts, refresh
// interval, data-table switch, header and footer. A write needs ledRead.
#include <QWidget>
#include <optional>

#include "link/bytes.h"
#include "records/led_params.h"
#include "pages/page_context.h"
#include "pages/record_page.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace quendra {

class LedPreview;

class LedPage : public QWidget, public RecordPage {
  Q_OBJECT
 public:
  void showRecords() override;
  bool storeFields() override;
  explicit LedPage(const PageContext& context, QWidget* parent = nullptr);
  void requestRead();   // "读取LED屏参数"
  void requestWrite();  // "下载LED屏参数"

  void showLedReply();

  const LedParams& params() const { return context_.session->config().led; }

 private:
  // The fields as a record; nullopt after a refusal box.
  // Every setting as the fields show it, without the two texts.
  LedParams settingsFromFields() const;
  std::optional<LedParams> paramsFromFields();
  void updatePreview();

  PageContext context_;
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
  LedPreview* preview_ = nullptr;
};

}  // namespace quendra
