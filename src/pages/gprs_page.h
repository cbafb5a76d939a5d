#pragma once
// The tab page "GPRS参数 ": the host's GprsParams over tunnel commands 3
// (read) and 4 (write): GPRS target, frame intervals, five SMS alarm numbers,
// SMS interval and work type. A write needs gprsRead.
#include <QWidget>
#include <array>
#include <optional>

#include "link/bytes.h"
#include "records/gprs_params.h"
#include "pages/page_context.h"
#include "pages/record_page.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace quendra {

class GprsPage : public QWidget, public RecordPage {
  Q_OBJECT
 public:
  void showRecords() override;
  bool storeFields() override;
  explicit GprsPage(const PageContext& context, QWidget* parent = nullptr);
  // The values the page shows before any read (the constructor writes them).
  void writeStartValues();

  void requestRead();   // "读取GPRS参数"
  void requestWrite();  // "下载GPRS参数"
  void onEditAllToggled(bool checked);

  void showGprsReply();

  const GprsParams& params() const { return context_.session->config().gprs; }

 private:
  // The fields over a copy of the record (short phone numbers keep their
  // slot); nullopt after a refusal box.
  std::optional<GprsParams> paramsFromFields();

  PageContext context_;
  QLineEdit* loginInterval_ = nullptr;
  QLineEdit* heartbeatInterval_ = nullptr;
  QLineEdit* dataInterval_ = nullptr;
  QLineEdit* targetAddress_ = nullptr;
  QLineEdit* targetPort_ = nullptr;
  std::array<QLineEdit*, GprsParams::kPhoneCount> phones_{};
  QLineEdit* smsInterval_ = nullptr;
  QComboBox* workType_ = nullptr;
  QCheckBox* editAll_ = nullptr;
};

}  // namespace quendra
