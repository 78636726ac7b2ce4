// How the console reads the words of a command line: the words themselves, ids, numbers and
// paths under the server root. Every reader throws std::runtime_error with the text the console
// prints when a word is not what it should be.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace sim {

// The words of a text, split at spaces and tabs.
std::vector<std::string> Words(const std::string& text);
// Splits off the first word; the rest keeps its spacing but for the one separating space run.
std::pair<std::string, std::string> SplitFirst(const std::string& text);
// A whole token as an int ("not an id: '<token>'" otherwise).
int ParseId(const std::string& token);
// A whole token as a number ("not a number: '<token>'" otherwise).
double ParseNumber(const std::string& token);
// A file path under the root; absolute paths and paths leaving the root are refused.
std::filesystem::path UnderRoot(const std::filesystem::path& root, const std::string& relative);

}  // namespace sim
