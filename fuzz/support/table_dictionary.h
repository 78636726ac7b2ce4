// The fuzz dictionaries' entries that come from the plugin's tables: every command name, chat
// word and setting key, and the scale bounds, so that a fuzzer reaches every handler and setting
// without a hand-written list to keep up. The hand-written fuzz/dict/<target>.dict files hold only
// the other pieces (separators, number forms, odd code units).
#pragma once

#include <string>
#include <vector>

namespace fuzzsupport {

// What a fuzz target reads, which decides the entries and their encoding.
enum class FuzzInput {
  kConsoleLine,  // UTF-16LE: every command name under every prefix, the scale bounds
  kChatLine,     // UTF-16LE: the chat command and every chat word
  kConfigFile,   // UTF-8: every setting key and older name in JSON quotes, the scale bounds
};

// The entries for input, each a dictionary line's quoted text: "h\x00o\x00...".
std::vector<std::string> TableDictionaryEntries(FuzzInput input);

// Makes libFuzzer's dictionary the entries of its -dict file (when one is given) followed by
// TableDictionaryEntries(input): writes both into <temporary folder>/<target>-<process id>.dict
// and points -dict there. Called from LLVMFuzzerInitialize, before libFuzzer reads its flags;
// the new argument vector lives until the process ends. Throws std::runtime_error when the
// given file cannot be read or the new one written.
void AddTableDictionary(int* argc, char*** argv, FuzzInput input, const char* target);

}  // namespace fuzzsupport
