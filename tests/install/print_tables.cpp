// Prints the plugin's tables for the install check (see table_listing.h).
#include <iostream>

#include "table_listing.h"

int main() {
  installcheck::ListTables(tinyhorde::CommandTable(), std::cout);
  return std::cout.good() ? 0 : 1;
}
