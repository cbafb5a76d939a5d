#pragma once
// What the window says when a socket fails: the host tool's texts, in message
// boxes titled with the application's name.
#include <QString>

#include "session/udp_transport.h"

namespace quendra {

QString transportFailureText(TransportFailure failure);

}  // namespace quendra
