#pragma once
// The collections loaded or saved last, newest first, kept in the settings as Recent1 (the
// newest) .. Recent8. A hand-edited list is taken as it reads: blank values and repeats are
// passed over, and the next change writes the list back clean.

#include <string>
#include <vector>

inline constexpr int RecentFileCount = 8;

// The stored names, newest first, without blanks or repeats, at most RecentFileCount.
std::vector<std::string> RecentFiles();
// Puts the file at the top (as an absolute path), dropping its older place and the oldest
// name beyond RecentFileCount.
void RememberRecentFile(const std::string& fileName);
// Takes the file off the list.
void ForgetRecentFile(const std::string& fileName);
