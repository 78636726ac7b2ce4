// Force-included first into every file scripts/check-windows checks: it lets Debian's clang-14
// read the Windows code with mingw-w64's headers and libstdc++ as MSVC would present the SDK.
//
// Three compilers have to be pretended at different moments:
// 1. mingw-w64's headers and libstdc++ expect GCC, but -fms-compatibility drops the GCC macros;
//    they are defined while every system header is read here, once, and removed afterwards.
// 2. The SDK (Unreal Engine's headers) expects MSVC: _MSC_VER is defined only after the system
//    headers, which break when they see it. clang's own intrin.h breaks under it too and is
//    marked as read (__INTRIN_H); nothing checked here uses an intrinsic of its own.
// 3. UE's CoreTypes.h and MinimalWindowsApi.h take clang-only paths that need UE's clang
//    toolchain files; they are read here, for the binding's files only, with __clang__ hidden.
#pragma once

#define __GNUC__ 12
#define __GNUC_MINOR__ 2
#define __GNUC_PATCHLEVEL__ 0
#define __GXX_EXPERIMENTAL_CXX0X__ 1
#define __STRICT_ANSI__ 1
#define __GCC_ATOMIC_BOOL_LOCK_FREE 2
#define __GCC_ATOMIC_CHAR_LOCK_FREE 2
#define __GCC_ATOMIC_CHAR8_T_LOCK_FREE 2
#define __GCC_ATOMIC_CHAR16_T_LOCK_FREE 2
#define __GCC_ATOMIC_CHAR32_T_LOCK_FREE 2
#define __GCC_ATOMIC_WCHAR_T_LOCK_FREE 2
#define __GCC_ATOMIC_SHORT_LOCK_FREE 2
#define __GCC_ATOMIC_INT_LOCK_FREE 2
#define __GCC_ATOMIC_LONG_LOCK_FREE 2
#define __GCC_ATOMIC_LLONG_LOCK_FREE 2
#define __GCC_ATOMIC_POINTER_LOCK_FREE 2
#define __GCC_ATOMIC_TEST_AND_SET_TRUEVAL 1

#include <bits/stdc++.h>
#include <windows.h>

#undef __GNUC__
#undef __GNUC_MINOR__
#undef __GNUC_PATCHLEVEL__
#undef __GXX_EXPERIMENTAL_CXX0X__
#undef __STRICT_ANSI__

#define _MSC_VER 1939
#define __INTRIN_H

// MSVC's library also declares nullptr_t in the global namespace; the SDK relies on it.
using std::nullptr_t;

#if __has_include(<CoreTypes.h>)
#pragma push_macro("__clang__")
#undef __clang__
#include <CoreTypes.h>
#include <Windows/MinimalWindowsApi.h>
#pragma pop_macro("__clang__")
#endif
