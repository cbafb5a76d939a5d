#pragma once
// Which records of a running batch are still to be sent (pending) and which
// have been answered. One pair per batch kind, in the sequencer's priority order.
#include <array>
#include <cstdint>

namespace quendra {

enum class BatchKind { ChannelRead, ChannelWrite, RelayRead, RelayWrite, ModbusRead, ModbusWrite };
constexpr int kBatchKindCount = 6;

struct BatchMasks {
  std::array<std::uint32_t, kBatchKindCount> pending{};
  std::array<std::uint32_t, kBatchKindCount> answered{};

  std::uint32_t& pendingOf(BatchKind k) { return pending[static_cast<int>(k)]; }
  std::uint32_t& answeredOf(BatchKind k) { return answered[static_cast<int>(k)]; }
  std::uint32_t pendingOf(BatchKind k) const { return pending[static_cast<int>(k)]; }
  std::uint32_t answeredOf(BatchKind k) const { return answered[static_cast<int>(k)]; }
};

}  // namespace quendra
