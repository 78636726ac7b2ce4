// The version command: which Tinyhorde a server runs. "hordesize.version" on the console and over
// RCON, "/hordesize version" in the chat for every player; it has no older "bigfit." name. It
// changes nothing and reads no settings. Game thread.
#pragma once

#include <string>

#include "host/types.h"

namespace tinyhorde {

// "[Tinyhorde] Tinyhorde <version>.", the version as PluginInfo.json and the release zip show it.
std::string VersionText();

// The reply goes to the typing player in green; from the server console (no player) it is
// written to the log, which is what that console shows.
void OnConsoleVersion(host::APlayerController* caller, host::FString* line, bool flag);
// The reply with a line feed, as every RCON reply ends.
void OnRconVersion(host::RCONClientConnection* connection, host::RCONPacket* packet,
                   host::UWorld* world);

}  // namespace tinyhorde
