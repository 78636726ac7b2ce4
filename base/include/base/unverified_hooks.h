// The hooks on names the SDK shows on no live line (marked `unverified_because` in the list of
// game names) that the last start-up did not install: left out because the host would stop the
// server if the game lacked them, or refused by a host that survives that. Neither turns
// shrinking off. Set by start-up, read by its log line and the status command. Game thread.
#pragma once

#include <string>
#include <vector>

namespace tinyhorde {

void SetUnverifiedHooksLeftOut(std::vector<std::string> not_asked,
                               std::vector<std::string> refused);

// One sentence naming them and why, without the log prefix; empty when every such hook is in.
std::string UnverifiedHooksText();

}  // namespace tinyhorde
