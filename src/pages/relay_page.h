#pragma once
// Placeholder: the page's own issue replaces this with the real page.
#include <QWidget>

#include "link/bytes.h"
#include "link/response_dispatcher.h"
#include "pages/page_context.h"

namespace quendra {

class RelayPage : public QWidget {
  Q_OBJECT
 public:
  explicit RelayPage(const PageContext& context, QWidget* parent = nullptr);
  // Registers the page's reply and acknowledgement handlers.
  void registerRoutes(ResponseDispatcher& dispatcher);
  // The encoded record `index` for a write request (the batch sequencer asks).
  Bytes recordPayload(int index) const;

 private:
  PageContext context_;
};

}  // namespace quendra
