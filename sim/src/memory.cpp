#include "sim/memory.h"

#include <cstdlib>
#include <cstring>

namespace sim {

TrackedMemory::~TrackedMemory() {
  for (auto& [block, size] : blocks_) std::free(block);
}

void* TrackedMemory::Malloc(std::uint64_t size, std::uint32_t /*alignment*/) {
  void* block = std::malloc(size == 0 ? 1 : size);
  blocks_[block] = size;
  ++allocations_;
  return block;
}

void* TrackedMemory::Realloc(void* block, std::uint64_t size, std::uint32_t alignment) {
  if (block == nullptr) return Malloc(size, alignment);
  if (size == 0) {
    Free(block);
    return nullptr;
  }
  auto it = blocks_.find(block);
  if (it == blocks_.end()) {
    ++bad_frees_;
    return nullptr;
  }
  void* grown = Malloc(size, alignment);
  std::memcpy(grown, block, it->second < size ? it->second : size);
  Free(block);
  return grown;
}

void TrackedMemory::Free(void* block) {
  if (block == nullptr) return;
  auto it = blocks_.find(block);
  if (it == blocks_.end()) {
    ++bad_frees_;
    return;
  }
  blocks_.erase(it);
  std::free(block);
}

FString MakeGameString(std::u16string_view text) {
  FString result;
  if (text.empty()) return result;
  result.ArrayNum = result.ArrayMax = static_cast<std::int32_t>(text.size() + 1);
  result.Data = new char16_t[text.size() + 1];
  std::memcpy(result.Data, text.data(), text.size() * sizeof(char16_t));
  result.Data[text.size()] = 0;
  return result;
}

void ReleaseGameString(FString& text) {
  delete[] text.Data;
  text = FString{};
}

std::u16string StringText(const FString& text) {
  if (text.Data == nullptr || text.ArrayNum <= 1) return {};
  return std::u16string(text.Data, static_cast<std::size_t>(text.ArrayNum - 1));
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    char32_t code = 0xFFFD;
    std::size_t length = 1;
    if (byte < 0x80) {
      code = byte;
    } else if ((byte >> 5) == 0x6 && i + 1 < text.size()) {
      code = ((byte & 0x1Fu) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu);
      length = 2;
    } else if ((byte >> 4) == 0xE && i + 2 < text.size()) {
      code = ((byte & 0x0Fu) << 12) | ((static_cast<unsigned char>(text[i + 1]) & 0x3Fu) << 6) |
             (static_cast<unsigned char>(text[i + 2]) & 0x3Fu);
      length = 3;
    } else if ((byte >> 3) == 0x1E && i + 3 < text.size()) {
      code = ((byte & 0x07u) << 18) | ((static_cast<unsigned char>(text[i + 1]) & 0x3Fu) << 12) |
             ((static_cast<unsigned char>(text[i + 2]) & 0x3Fu) << 6) |
             (static_cast<unsigned char>(text[i + 3]) & 0x3Fu);
      length = 4;
    }
    i += length;
    if (code >= 0x10000) {
      code -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(code));
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t code = text[i];
    if (code >= 0xD800 && code < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (code >= 0xD800 && code < 0xE000) {
      code = 0xFFFD;
    }
    if (code < 0x80) {
      out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (code >> 6)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (code >> 12)));
      out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (code >> 18)));
      out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }
  return out;
}

}  // namespace sim
