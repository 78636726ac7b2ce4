// The status command: what the plugin is doing, a line per topic, without changing anything.
// "hordesize.status" (and "bigfit.status") on the console and over RCON, "/hordesize status" in
// the chat for administrators. Game thread; callers must not hold SettingsMutex.
#pragma once

#include <string>

#include "host/types.h"

namespace tinyhorde {

// The lines, joined by line feeds, without a final one. While Tinyhorde is off the first line says
// so, and the reply is red (StatusColour).
std::string StatusText();
const host::FLinearColor& StatusColour();

void OnConsoleStatus(host::APlayerController* caller, host::FString* line, bool flag);
void OnRconStatus(host::RCONClientConnection* connection, host::RCONPacket* packet,
                  host::UWorld* world);

}  // namespace tinyhorde
