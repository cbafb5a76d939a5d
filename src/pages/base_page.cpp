#include "pages/base_page.h"

namespace quendra {

BasePage::BasePage(const PageContext& context, QWidget* parent) : QWidget(parent), context_(context) {}

void BasePage::registerRoutes(ResponseDispatcher&) {}

}  // namespace quendra
