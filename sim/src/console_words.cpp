#include "sim/console_words.h"

#include <sstream>
#include <stdexcept>

namespace sim {

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

std::pair<std::string, std::string> SplitFirst(const std::string& text) {
  const auto start = text.find_first_not_of(" \t");
  if (start == std::string::npos) return {"", ""};
  const auto end = text.find_first_of(" \t", start);
  if (end == std::string::npos) return {text.substr(start), ""};
  const auto rest = text.find_first_not_of(" \t", end);
  return {text.substr(start, end - start), rest == std::string::npos ? "" : text.substr(rest)};
}

int ParseId(const std::string& token) {
  std::size_t used = 0;
  int value = 0;
  try {
    value = std::stoi(token, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != token.size() || token.empty()) throw std::runtime_error("not an id: '" + token + "'");
  return value;
}

double ParseNumber(const std::string& token) {
  std::size_t used = 0;
  double value = 0;
  try {
    value = std::stod(token, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != token.size() || token.empty())
    throw std::runtime_error("not a number: '" + token + "'");
  return value;
}

std::filesystem::path UnderRoot(const std::filesystem::path& root, const std::string& relative) {
  const std::filesystem::path path(relative);
  if (path.is_absolute()) throw std::runtime_error("paths are relative to the server root");
  const auto normal = path.lexically_normal();
  if (normal.empty() || *normal.begin() == "..")
    throw std::runtime_error("the path leaves the server root: " + relative);
  return root / normal;
}

}  // namespace sim
