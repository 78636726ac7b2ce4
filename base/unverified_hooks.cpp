#include "base/unverified_hooks.h"

#include <utility>

#include "base/join_names.h"

namespace tinyhorde {

namespace {

std::vector<std::string> hooks_not_asked;
std::vector<std::string> hooks_refused;

}  // namespace

void SetUnverifiedHooksLeftOut(std::vector<std::string> not_asked,
                               std::vector<std::string> refused) {
  hooks_not_asked = std::move(not_asked);
  hooks_refused = std::move(refused);
}

std::string UnverifiedHooksText() {
  std::string text;
  if (!hooks_not_asked.empty())
    text =
        "Not hooked, as the host would stop the server if the game lacks them "
        "(its config.json does not set HooksDoNotThrow): " +
        JoinNames(hooks_not_asked) + ".";
  if (!hooks_refused.empty())
    text += (text.empty() ? "" : " ") + std::string("Not hooked, as the game lacks them: ") +
            JoinNames(hooks_refused) + ".";
  return text;
}

}  // namespace tinyhorde
