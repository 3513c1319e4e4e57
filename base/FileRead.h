#pragma once
// Reading files the user names. A path is looked at before it is read, so a folder or a pipe
// is reported as what it is (and a pipe never blocks the program), and a read takes at most
// as many bytes as the caller can use, so a huge file costs no more than a valid one.

#include "base/Bytes.h"

#include <cstddef>
#include <limits>
#include <string>

// True when something is there (a file, a folder, a pipe...), so that a caller says
// "not found" only when nothing is; the read then names anything that is not a file.
bool FileExists(const std::string& path);

// Reads the file's first `limit` bytes (all of it when shorter). Raises EKelvoError naming the
// file and the reason: the system's text, or that the path is a folder or not a regular file.
Bytes ReadFileStart(const std::string& path, std::size_t limit);

inline Bytes ReadWholeFile(const std::string& path) {
    return ReadFileStart(path, std::numeric_limits<std::size_t>::max());
}

// The text of a file error: "<what> <path>: <reason>".
std::string FileErrorText(const std::string& what, const std::string& path, int error);
