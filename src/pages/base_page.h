#pragma once
// The tab page "基础参数 ": the host's BaseParams over tunnel commands 1 (read)
// and 2 (write). The read reply stores the record, sets baseRead and shows it;
// a write needs baseRead and refuses a terminal address that is not 8 hex
// digits.
#include <QWidget>
#include <optional>

#include "link/bytes.h"
#include "records/base_params.h"
#include "pages/page_context.h"
#include "pages/record_page.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace quendra {

class BasePage : public QWidget, public RecordPage {
  Q_OBJECT
 public:
  void showRecords() override;
  bool storeFields() override;
  explicit BasePage(const PageContext& context, QWidget* parent = nullptr);
  // The values the page shows before any read (the constructor writes them).
  void writeStartValues();

  void requestRead();   // "读取基础参数"
  void requestWrite();  // "写入基础参数"
  void onEditAllToggled(bool checked);

  void showBaseReply();

  const BaseParams& params() const { return context_.session->config().base; }

 private:
  QWidget* buildNetworkGroup();
  QWidget* buildCoordinateGroup();
  QWidget* buildStorageGroup();
  // The fields as a record; nullopt after a refusal box.
  std::optional<BaseParams> paramsFromFields();

  PageContext context_;
  QComboBox* channelCount_ = nullptr;
  QLineEdit* terminalAddress_ = nullptr;
  QComboBox* serverCount_ = nullptr;
  QLineEdit* loginInterval_ = nullptr;
  QLineEdit* heartbeatInterval_ = nullptr;
  QLineEdit* dataInterval_ = nullptr;
  QComboBox* modbusBaud_ = nullptr;
  QLineEdit* longitude_ = nullptr;
  QLineEdit* latitude_ = nullptr;
  QCheckBox* coordinateEnabled_ = nullptr;
  QLineEdit* normalRecordInterval_ = nullptr;
  QLineEdit* alarmRecordInterval_ = nullptr;
  QComboBox* storageType_ = nullptr;
  QCheckBox* editAll_ = nullptr;
};

}  // namespace quendra
