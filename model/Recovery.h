#pragma once
// Keeping a modified collection when the program is ended from outside (logout, shutdown,
// kill): it goes to a new file in the user's data folder, never over one of the user's files,
// and the next start tells where it is.

#include <ctime>
#include <string>

class TCollection;

// The setting that carries the recovered file's path to the next start.
inline constexpr const char* RecoveredFileSetting = "RecoveredFile";

// Writes the collection's 128 slots to <folder>/recovered-<YYYYMMDD-HHMMSS>.G33 (with "-2",
// "-3"... when that name is taken), creating the folder, and returns the file's path. The
// collection's own file name and modified mark stay as they are. Raises EKelvoError.
std::string SaveRecoveredCollection(const TCollection& collection, const std::string& folder,
                                    std::time_t when);

// What the next start shows about a recovered collection.
std::string RecoveredNotice(const std::string& path);
