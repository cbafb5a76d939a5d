#include "pages/channel_page.h"

namespace quendra {

ChannelPage::ChannelPage(const PageContext& context, QWidget* parent) : QWidget(parent), context_(context) {}

void ChannelPage::registerRoutes(ResponseDispatcher&) {}

Bytes ChannelPage::recordPayload(int) const { return {}; }

}  // namespace quendra
