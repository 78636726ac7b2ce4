// The game's value types as the plugin sees them, and the opaque game classes.
//
// Each value type has the game's memory layout, so a pointer the game hands over can be read
// through it and a value the plugin builds can be handed to the game. Members that allocate
// (FString, TArray) are defined by the binding (host/sim or host/asaapi); every buffer they own
// is released with the game's FMemory.Free when the value is destroyed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace host {

using int32 = std::int32_t;
using uint32 = std::uint32_t;
using int64 = std::int64_t;
using uint64 = std::uint64_t;

// The game's text unit is UTF-16: wchar_t where wchar_t is 16 bits wide (Windows), char16_t
// where it is not.
using TCHAR = std::conditional_t<sizeof(wchar_t) == 2, wchar_t, char16_t>;

// The game's allocator. Every FString or TArray buffer the plugin owns goes back through Free.
// Its functions are looked up once: by Resolve, or else at their first use.
namespace FMemory {
// Looks the three functions up now; answers the names of those the host does not have (a call
// of a missing one raises UnknownGameName).
std::vector<std::string> Resolve();
void* Malloc(uint64 size, uint32 alignment = 0);
void* Realloc(void* block, uint64 size, uint32 alignment = 0);
void Free(void* block);
}  // namespace FMemory

// A dynamic array in the game's layout: data pointer, element count, capacity. The plugin owns
// the buffer of every TArray it holds, whether it built it or the game filled it for it.
template <typename T>
class TArray {
 public:
  TArray() = default;
  TArray(const TArray&) = delete;
  TArray& operator=(const TArray&) = delete;
  TArray(TArray&& other) noexcept : data_(other.data_), num_(other.num_), max_(other.max_) {
    other.data_ = nullptr;
    other.num_ = other.max_ = 0;
  }
  // Never throws: a buffer the game's allocator refuses to take back is left to it.
  ~TArray() {
    try {
      Reset();
    } catch (...) {
    }
  }

  int32 Num() const { return num_; }
  T* GetData() const { return data_; }
  T& operator[](int32 i) const { return data_[i]; }
  T* begin() const { return data_; }
  T* end() const { return data_ + num_; }

  // Appends one element, growing the buffer through the game's allocator. Elements are moved
  // bitwise, as the game relocates them.
  void Add(T&& value) {
    if (num_ == max_) {
      const int32 grown = max_ < 4 ? 4 : max_ * 2;
      data_ = static_cast<T*>(FMemory::Realloc(data_, sizeof(T) * static_cast<uint64>(grown)));
      max_ = grown;
    }
    new (data_ + num_) T(std::move(value));
    ++num_;
  }

  // Destroys every element and releases the buffer.
  void Reset() {
    for (int32 i = 0; i < num_; ++i) data_[i].~T();
    if (data_ != nullptr) FMemory::Free(data_);
    data_ = nullptr;
    num_ = max_ = 0;
  }

 private:
  T* data_ = nullptr;
  int32 num_ = 0;
  int32 max_ = 0;
};

// The game's string: UTF-16 code units with a terminating zero. The element count includes the
// terminator, so an empty string has a count of 0 (no buffer) or 1.
class FString {
 public:
  FString() = default;
  explicit FString(const char* narrow);
  explicit FString(const TCHAR* wide);
  FString(const FString& other);
  FString(FString&& other) noexcept;
  FString& operator=(FString other) noexcept;
  // Never throws: a buffer the game's allocator refuses to take back is left to it.
  ~FString();

  // The element count, terminator included (0 for a string without a buffer).
  int32 Num() const { return num_; }
  // Characters without the terminator.
  int32 Len() const { return num_ > 0 ? num_ - 1 : 0; }
  bool IsEmpty() const { return Len() == 0; }
  // The text; never null.
  const TCHAR* operator*() const;
  TCHAR* GetData() const { return data_; }

  // Splits on every occurrence of delimiter, appending the pieces to out (emptied first);
  // empty pieces are dropped when cullEmpty is set. The text ends at its first zero, as the
  // game reads it. Returns the number of pieces.
  int32 ParseIntoArray(TArray<FString>& out, const TCHAR* delimiter, bool cullEmpty) const;

 private:
  TCHAR* data_ = nullptr;
  int32 num_ = 0;
  int32 max_ = 0;
};

// The text of an FString as UTF-8.
std::string ToUtf8(const FString& text);

// A name in the game's name table.
struct FName {
  int32 ComparisonIndex = 0;
  int32 Number = 0;
};

namespace UE::Math {
template <typename T>
struct TVector {
  T X = 0;
  T Y = 0;
  T Z = 0;
};
}  // namespace UE::Math

using FVector = UE::Math::TVector<double>;

// A weak reference to a game object: its slot in the object table and that slot's serial, so
// a reference to a destroyed object no longer resolves.
struct FWeakObjectPtr {
  int32 ObjectIndex = 0;
  int32 ObjectSerialNumber = 0;
};

// Where a one-bit game flag lives: offset is its 32-bit word's offset from the start of the object
// that holds it (relative, not an address), bit_position the flag's bit in that word; num_bits and
// length are carried as the host gives them.
struct BitField {
  uint64 offset = 0;
  uint32 bit_position = 0;
  uint64 num_bits = 0;
  uint64 length = 0;
};

struct FLinearColor {
  float R = 0;
  float G = 0;
  float B = 0;
  float A = 0;
};

// Opaque game classes: the plugin holds pointers to them and reaches their insides only by name.
struct UObject;
struct UField;
struct FField;
struct UStruct;
struct UClass;
struct UWorld;
struct AActor;
struct AController;
struct APlayerController;
struct AShooterPlayerController;
struct APrimalCharacter;
struct APrimalDinoCharacter;
struct AShooterCharacter;
struct AShooterGameMode;
struct USceneComponent;
struct UPrimalItem;
struct FArchive;
struct FDamageEvent;
struct FPrimalCameraParams;
struct RCONClientConnection;
// The cryopod item record that UVictoryCore.GetCryoDinoData returns by value. The plugin never
// looks inside it; see hooks for how the detour hands it back untouched.
struct FCustomItemData;

// A class reference, laid out as the game's TSubclassOf: one class pointer. Game functions take
// it by address (a TSubclassOf<AActor>*), as the host SDK's wrappers pass it.
template <typename T>
struct TSubclassOf {
  UClass* Class = nullptr;
};

// One RCON request as the host hands it to a command handler.
struct RCONPacket {
  int32 Length;
  int32 Id;
  int32 Type;
  FString Body;
};

}  // namespace host
