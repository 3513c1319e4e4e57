#pragma once
// Keeping a modified collection when the program is ended from outside (logout, shutdown,
// kill): it goes to a new file in the user's data folder, never over one of the user's files,
// and the next start tells where it is.

#include <ctime>
#include <string>

class TCollection;

// The setting that carried the recovered file's path to the next start in earlier versions;
// still read, so that a notice they left is shown.
inline constexpr const char* RecoveredFileSetting = "RecoveredFile";

// Writes the collection's 128 slots to <folder>/recovered-<YYYYMMDD-HHMMSS>.G33 (with "-2",
// "-3"... when that name is taken), creating the folder, and returns the file's path. The
// collection's own file name and modified mark stay as they are. Raises EKelvoError.
std::string SaveRecoveredCollection(const TCollection& collection, const std::string& folder,
                                    std::time_t when);

// What the next start shows about a recovered collection.
std::string RecoveredNotice(const std::string& path);

// Remembers for the next start that the collection was saved to `path`, in a note file in
// `folder` beside the recovered collections rather than in the settings: a settings file that
// was refused at start is never written, and the notice would be lost. Raises EKelvoError.
void RememberRecovered(const std::string& folder, const std::string& path);

// The path the last quit by signal saved to ("" when none), read once: the note (or an
// earlier version's setting) is cleared as it is read.
std::string TakeRecovered(const std::string& folder);
