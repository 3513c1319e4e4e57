#pragma once
// Where the program keeps its own files for the user.

#include <string>

// $XDG_DATA_HOME/KelvoLight, else ~/.local/share/KelvoLight, else ./KelvoLight.
std::string UserDataFolder();
