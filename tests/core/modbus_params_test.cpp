// ModBus slot image: field positions, little-endian 16-bit values, short
// payloads, and the frames that carry it.
#include <gtest/gtest.h>

#include "link/tunnel_commands.h"
#include "link/tunnel_frame.h"
#include "records/field_text.h"
#include "records/modbus_params.h"

namespace quendra {
namespace {

struct SlotCase {
  const char* what;
  ModbusSlotParams slot;
  Bytes image;
};

const SlotCase kSlotCases[] = {
    {"all zero", {}, {0, 0, 0, 0, 0, 0, 0}},
    {"general controller, 10 registers", {1, 1, 5, 0, 10}, {0x01, 0x01, 0x05, 0x00, 0x00, 0x0A, 0x00}},
    {"high bytes of both registers", {247, 0, 0, 0x1234, 0xABCD}, {0xF7, 0x00, 0x00, 0x34, 0x12, 0xCD, 0xAB}},
    {"no device type chosen", {2, 0, 0xFF, 40001, 2}, {0x02, 0x00, 0xFF, 0x41, 0x9C, 0x02, 0x00}},
};

TEST(ModbusParams, EncodesEachFieldAtItsOffset) {
  for (const auto& c : kSlotCases) EXPECT_EQ(encodeModbusSlot(c.slot), c.image) << c.what;
}

TEST(ModbusParams, DecodesEachFieldFromItsOffset) {
  for (const auto& c : kSlotCases) {
    const auto slot = decodeModbusSlot(c.image);
    ASSERT_TRUE(slot) << c.what;
    EXPECT_EQ(*slot, c.slot) << c.what;
  }
}

TEST(ModbusParams, RefusesAShortPayloadAndIgnoresExtraBytes) {
  const Bytes six{1, 1, 5, 0, 0, 0x0A};
  EXPECT_FALSE(decodeModbusSlot(six));
  EXPECT_FALSE(decodeModbusSlot({}));
  const Bytes eight{1, 1, 5, 0, 0, 0x0A, 0, 0x99};
  const auto slot = decodeModbusSlot(eight);
  ASSERT_TRUE(slot);
  EXPECT_EQ(slot->registerCount, 10);
}

TEST(ModbusParams, TypedSlaveAddressKeepsItsLowByte) {
  ModbusSlotParams slot;
  slot.slaveAddress = parseU8Field("300");
  EXPECT_EQ(encodeModbusSlot(slot)[0], 0x2C);
  slot.slaveAddress = parseU8Field("-1");
  EXPECT_EQ(encodeModbusSlot(slot)[0], 0xFF);
}

TEST(ModbusParams, WriteRequestOfSlotOne) {
  const ModbusSlotParams slot{0x2C, 1, 0xFF, 0, 10};
  const Bytes frame = TunnelFrame::buildRequest(writeCommandOf(ParamGroup::Modbus, 0), encodeModbusSlot(slot));
  EXPECT_EQ(frame, (Bytes{0x7E, 0x75, 0x2C, 0x01, 0xFF, 0x00, 0x00, 0x0A, 0x00, 0x1A, 0xEE}));
}

TEST(ModbusParams, ReadReplyOfSlotSixCarriesTheRecord) {
  const Bytes payload{0x01, 0x01, 0x05, 0x00, 0x00, 0x0A, 0x00};
  const Bytes block = TunnelFrame::buildReply(90, payload, 7, 3);
  const TunnelReply reply = TunnelFrame::decodeReply(block);
  ASSERT_EQ(reply.status, ReplyStatus::Accepted);
  const auto command = classifyTunnelCommand(reply.command);
  ASSERT_TRUE(command);
  EXPECT_EQ(command->group, ParamGroup::Modbus);
  EXPECT_EQ(command->index, 5);
  EXPECT_EQ(decodeModbusSlot(reply.payload), (ModbusSlotParams{1, 1, 5, 0, 10}));
}

}  // namespace
}  // namespace quendra
