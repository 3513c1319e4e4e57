#pragma once
// Where the settings file is. It is named after the executable with ".ini" and lives beside it
// for a portable copy (a folder the user may write, the program not installed there), otherwise
// in the user's configuration folder. An installed program never creates a file among the
// installed ones: one run as the superuser would otherwise leave a file there that every user
// then reads and nobody can write.

#include <string>

// `executable`: the program's path; `installedBinDir`: the folder an install puts it in;
// `configFolder`: the user's configuration folder for this program. A file already beside the
// executable is used when this user may write it.
std::string ChooseSettingsFile(const std::string& executable, const std::string& installedBinDir,
                               const std::string& configFolder);
