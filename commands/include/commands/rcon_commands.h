// The RCON twins of the console commands, under the same names. Each answers its request once.
#pragma once

#include "host/types.h"

namespace tinyhorde {

void OnRconResizeAll(host::RCONClientConnection* connection, host::RCONPacket* packet,
                     host::UWorld* world);
void OnRconSetScale(host::RCONClientConnection* connection, host::RCONPacket* packet,
                    host::UWorld* world);
void OnRconReload(host::RCONClientConnection* connection, host::RCONPacket* packet,
                  host::UWorld* world);

}  // namespace tinyhorde
