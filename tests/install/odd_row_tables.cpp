// The plugin's tables plus one row of a shape the table's own rows do not have (designated
// initialisers over several lines, handlers that are lambdas, a chat word for everyone), which
// no README text explains. The install check given this listing must fail and name the row:
// proof that it reads whatever rows the table holds, whatever their shape.
#include <iostream>
#include <vector>

#include "table_listing.h"

int main() {
  std::vector<tinyhorde::CommandRow> rows(tinyhorde::CommandTable().begin(),
                                          tinyhorde::CommandTable().end());
  rows.push_back(tinyhorde::CommandRow{
      .word = "oddity",
      .console = [](host::APlayerController*, host::FString*, bool) {},
      .rcon = [](host::RCONClientConnection*, host::RCONPacket*, host::UWorld*) {},
      .chat = [](host::AShooterPlayerController*) {},
      .access = tinyhorde::ChatAccess::kEveryone,
      .answersWhileOff = false,
  });
  installcheck::ListTables(rows, std::cout);
  return std::cout.good() ? 0 : 1;
}
