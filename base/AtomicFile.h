#pragma once
// Whole-file reads and writes. A write goes to a temporary file in the target's folder and is
// renamed over the target only when complete, so a failed save never destroys the old file.

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// Writes the bytes as the file's whole content; raises EKelvoError with the system's error
// text (for example "Permission denied") when the file cannot be written.
void WriteFileAtomically(const std::string& path, const Bytes& bytes);

// Reads the whole file; raises EKelvoError with the system's error text on failure.
Bytes ReadWholeFile(const std::string& path);

bool FileExists(const std::string& path);
