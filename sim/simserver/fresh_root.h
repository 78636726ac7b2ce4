// The server root simserver makes for itself when it is given none: a fresh folder under the
// system's temporary folder, removed when simserver ends (also through std::exit).
#pragma once

#include <filesystem>

namespace simserver {

// Makes the folder and arranges for its removal at exit. Throws std::runtime_error when it
// cannot. Once per process.
std::filesystem::path MakeFreshRoot();
// Removes the folder now, if one was made and is still there. For exits that skip std::atexit.
void RemoveFreshRoot();

}  // namespace simserver
