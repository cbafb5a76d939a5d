#include "pages/led_page.h"

namespace quendra {

LedPage::LedPage(const PageContext& context, QWidget* parent) : QWidget(parent), context_(context) {}

void LedPage::registerRoutes(ResponseDispatcher&) {}

}  // namespace quendra
