#include "pages/gprs_page.h"

namespace quendra {

GprsPage::GprsPage(const PageContext& context, QWidget* parent) : QWidget(parent), context_(context) {}

void GprsPage::registerRoutes(ResponseDispatcher&) {}

}  // namespace quendra
