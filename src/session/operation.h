#pragma once
// How an operation of a host session ends. Every operation that starts ends
// with exactly one OperationResult; one that cannot start says why at once.
#include <cstdint>

#include "link/tunnel_commands.h"

namespace quendra {

enum class Operation { Read, Write, FactoryReset, WriteMac };

enum class Outcome {
  Done,            // every record answered (or, for requests no host answers, sent)
  NoAnswer,        // some records stayed unanswered after their attempts (failedRecords)
  VersionRefused,  // the host's firmware version is refused: nothing more was sent
  Cancelled,       // another host was selected while it waited, or it was stopped
  HostGone,        // the host stopped answering altogether (it answered no probe either): ended at once,
                   // the records not answered in failedRecords
};

// Why an operation did not start.
enum class Refusal {
  NetworkNotRead,  // the host's network settings have not been read yet
  GroupNotRead,    // a write needs the group read first
  Busy,            // a batch of the same kind is still running
  UnusableMac,     // an all-zero, broadcast or multicast MAC would make the host unreachable
};

struct OperationResult {
  Operation operation = Operation::Read;
  ParamGroup group = ParamGroup::Network;
  Outcome outcome = Outcome::Done;
  std::uint32_t failedRecords = 0;  // bit k: record k of the group did not answer
};

}  // namespace quendra
