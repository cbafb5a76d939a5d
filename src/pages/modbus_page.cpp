#include "pages/modbus_page.h"

namespace quendra {

ModbusPage::ModbusPage(const PageContext& context, QWidget* parent) : QWidget(parent), context_(context) {}

void ModbusPage::registerRoutes(ResponseDispatcher&) {}

Bytes ModbusPage::recordPayload(int) const { return {}; }

}  // namespace quendra
