#pragma once
// What the window says when a socket fails: fixed texts, one per failing step,
// so an operator can tell which step failed and quote it to whoever looks at
// the PC; in message boxes titled with the application's name.
#include <QString>

#include "session/udp_transport.h"

namespace quendra {

QString transportFailureText(TransportFailure failure);

}  // namespace quendra
