#pragma once
// The tab page "继电器参数": the host's 8 relays, one shown at a time. Read and
// write move all 8 records through the batch sequencer; every read reply
// stores its relay and shows it.
#include <QWidget>
#include <optional>

#include "link/bytes.h"
#include "pages/page_context.h"
#include "pages/record_page.h"
#include "records/relay_params.h"

class QComboBox;
class QLineEdit;

namespace quendra {

class RecordSelector;

class RelayPage : public QWidget, public RecordPage {
  Q_OBJECT
 public:
  void showRecords() override;
  bool storeFields() override;
  explicit RelayPage(const PageContext& context, QWidget* parent = nullptr);
  // The encoded record `index` as a write request would carry it.
  Bytes recordPayload(int index) const { return encodeRecord(context_.session->config(), ParamGroup::Relay, index); }

  // Selects relay k and shows its record (its read reply has been stored).
  void showRelayReply(int k);

 private:
  void showRelay(int k);
  void storeShownRelay(int k);
  void onRelayPicked(std::optional<int> previous, int row);
  void onRead();
  void onWrite();

  PageContext context_;
  RecordSelector* selector_;
  QComboBox* workMode_;
  QLineEdit* startInterval_;
  QLineEdit* startDuration_;
};

}  // namespace quendra
