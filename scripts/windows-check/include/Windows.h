// The SDK spells <Windows.h> as MSVC's case-blind file system allows; mingw-w64 ships windows.h.
#pragma once
#include <windows.h>
