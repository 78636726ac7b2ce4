// The AsaApi SDK's declarations, for the binding's own files only: plugin code never includes
// this. The SDK's headers turn many MSVC warnings into errors for the rest of the including
// file; the warning state is saved before them and restored after them.
//
// The build supplies UNICODE (the SDK's TCHAR must be wchar_t, as windows.h's is), NOMINMAX and
// WIN32_LEAN_AND_MEAN (windows.h is read inside the SDK), and the include folders in the SDK's
// order: AsaApi/Core/Public/API/UE, AsaApi/Core/Public, AsaApi/Core/Public/Logger.
#pragma once

#pragma warning(push)
#include <API/ARK/Ark.h>
#include <Timer.h>
#pragma warning(pop)
