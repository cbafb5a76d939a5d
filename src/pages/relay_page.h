#pragma once
// The tab page "继电器参数": the host's 8 relays, one shown at a time. Read and
// write move all 8 records through the batch sequencer; every read reply
// stores its relay and shows it.
#include <QWidget>
#include <optional>

#include "link/bytes.h"
#include "link/response_dispatcher.h"
#include "pages/page_context.h"
#include "pages/relay_params.h"

class QComboBox;
class QLineEdit;

namespace quendra {

class RecordSelector;

class RelayPage : public QWidget {
  Q_OBJECT
 public:
  explicit RelayPage(const PageContext& context, QWidget* parent = nullptr);
  // Data replies 69..76 store and show their relay; acknowledgements need nothing here.
  void registerRoutes(ResponseDispatcher& dispatcher);
  // The encoded record `index` for a write request (the batch sequencer asks).
  Bytes recordPayload(int index) const;

  // Selects relay k and shows its record (its read reply has been stored).
  void showRelayReply(int k);

 private:
  void showRelay(int k);
  void storeShownRelay(int k);
  void onRelayPicked(std::optional<int> previous, int row);
  void onRead();
  void onWrite();

  PageContext context_;
  RelayRecords relays_{};
  RecordSelector* selector_;
  QComboBox* workMode_;
  QLineEdit* startInterval_;
  QLineEdit* startDuration_;
};

}  // namespace quendra
