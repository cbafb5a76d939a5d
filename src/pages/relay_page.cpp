#include "pages/relay_page.h"

namespace quendra {

RelayPage::RelayPage(const PageContext& context, QWidget* parent) : QWidget(parent), context_(context) {}

void RelayPage::registerRoutes(ResponseDispatcher&) {}

Bytes RelayPage::recordPayload(int) const { return {}; }

}  // namespace quendra
