// Our value types seen as the SDK's and back. Each view is a reinterpret_cast of a pointer or
// reference, allowed only because the checks below prove that both types have the same size,
// alignment and field offsets; a new SDK release that changes one of them fails the build here.
#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>

#include "host/types.h"
#include "sdk.h"

namespace host::asaapi {

// Text units: both wchar_t (UNICODE builds only; without it the SDK's TCHAR clashes).
static_assert(std::is_same_v<host::TCHAR, ::TCHAR> && sizeof(::TCHAR) == 2);

// FString: one TArray<TCHAR> in both: data pointer, element count, capacity. The SDK's array
// keeps its fields private, so its offsets are pinned by what can be named: a standard-layout
// array of 16 bytes whose members are, in declaration order, an allocator holding one pointer
// (8 bytes) and two 32-bit counts (ArrayNum, ArrayMax) lies at offsets 0, 8 and 12, as ours
// (data_, num_, max_; checked in fstring.cpp, where those names can be used).
using SdkCharArray = std::remove_cvref_t<decltype(std::declval<const ::FString&>().GetCharArray())>;
static_assert(sizeof(::FString) == sizeof(host::FString) && sizeof(host::FString) == 16);
static_assert(alignof(::FString) == alignof(host::FString) && alignof(host::FString) == 8);
static_assert(std::is_standard_layout_v<::FString> && std::is_standard_layout_v<SdkCharArray>);
static_assert(sizeof(SdkCharArray) == 16 && alignof(SdkCharArray) == 8);
static_assert(sizeof(::FString::AllocatorType::ForElementType<::TCHAR>) == sizeof(void*));
static_assert(std::is_same_v<SdkCharArray::SizeType, host::int32>);
static_assert(std::is_same_v<SdkCharArray::ElementType, host::TCHAR>);

// The arrays the game fills for the plugin have the same shape.
static_assert(sizeof(::TArray<void*>) == sizeof(host::TArray<void*>));
static_assert(alignof(::TArray<void*>) == alignof(host::TArray<void*>));
static_assert(sizeof(::TArray<::FString>) == sizeof(host::TArray<host::FString>));

// RCONPacket: public fields on both sides.
static_assert(sizeof(::RCONPacket) == sizeof(host::RCONPacket) && sizeof(host::RCONPacket) == 32);
static_assert(alignof(::RCONPacket) == alignof(host::RCONPacket));
static_assert(offsetof(::RCONPacket, Length) == offsetof(host::RCONPacket, Length));
static_assert(offsetof(::RCONPacket, Id) == offsetof(host::RCONPacket, Id));
static_assert(offsetof(::RCONPacket, Type) == offsetof(host::RCONPacket, Type));
static_assert(offsetof(::RCONPacket, Body) == offsetof(host::RCONPacket, Body) &&
              offsetof(host::RCONPacket, Body) == 16);

// Values the plugin hands to game functions by name (no view; the game reads them as its own).
static_assert(sizeof(::FName) == sizeof(host::FName));
static_assert(sizeof(::FWeakObjectPtr) == sizeof(host::FWeakObjectPtr));
static_assert(offsetof(::FWeakObjectPtr, ObjectIndex) ==
              offsetof(host::FWeakObjectPtr, ObjectIndex));
static_assert(offsetof(::FWeakObjectPtr, ObjectSerialNumber) ==
              offsetof(host::FWeakObjectPtr, ObjectSerialNumber));
static_assert(sizeof(::UE::Math::TVector<double>) == sizeof(host::FVector));
static_assert(offsetof(::UE::Math::TVector<double>, Z) == offsetof(host::FVector, Z));

// TSubclassOf: the plugin hands the class listing the address of one, as the SDK's own wrapper
// of "UGameplayStatics.GetAllActorsOfClass" does (&ActorClass), so both must hold the class pointer
// alone.
static_assert(sizeof(::TSubclassOf<::AActor>) == sizeof(host::TSubclassOf<host::AActor>) &&
              sizeof(host::TSubclassOf<host::AActor>) == 8);

inline host::FString* View(::FString* text) {
  return reinterpret_cast<host::FString*>(text);
}
inline const ::FString& View(const host::FString& text) {
  return reinterpret_cast<const ::FString&>(text);
}
inline ::TArray<::FString>& View(host::TArray<host::FString>& pieces) {
  return reinterpret_cast<::TArray<::FString>&>(pieces);
}
inline host::RCONPacket* View(::RCONPacket* packet) {
  return reinterpret_cast<host::RCONPacket*>(packet);
}

}  // namespace host::asaapi
