#include "commands/tokens.h"

namespace tinyhorde {

host::TArray<host::FString> SplitOnSpaces(const host::FString& line) {
  static const host::TCHAR kSpace[] = {' ', 0};
  host::TArray<host::FString> tokens;
  line.ParseIntoArray(tokens, kSpace, true);
  return tokens;
}

}  // namespace tinyhorde
