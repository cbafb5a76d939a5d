#pragma once
// The tab page "ModBus参数": the host's 32 ModBus-RTU master slots, one shown
// at a time. Read and write move all 32 records through the batch sequencer;
// every read reply stores its slot and shows it.
#include <QWidget>
#include <optional>

#include "link/bytes.h"
#include "records/modbus_params.h"
#include "pages/page_context.h"
#include "pages/record_page.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace quendra {

class RecordSelector;

class ModbusPage : public QWidget, public RecordPage {
  Q_OBJECT
 public:
  void showRecords() override;
  bool storeFields() override;
  explicit ModbusPage(const PageContext& context, QWidget* parent = nullptr);
  // The encoded record `index` as a write request would carry it.
  Bytes recordPayload(int index) const { return encodeRecord(context_.session->config(), ParamGroup::Modbus, index); }

  // Selects slot k and shows its record (its read reply has been stored).
  void showSlotReply(int k);

 private:
  void showSlot(int k);
  void storeShownSlot(int k);
  void onSlotPicked(std::optional<int> previous, int row);
  void onRead();
  void onWrite();

  PageContext context_;
  RecordSelector* selector_;
  QLineEdit* slaveAddress_;
  QCheckBox* enabled_;
  QComboBox* deviceType_;
  QLineEdit* registerStart_;
  QLineEdit* registerCount_;
};

}  // namespace quendra
