#pragma once
// Whole-file writes. A write goes to a temporary file in the target's folder and is renamed
// over the target only when complete, so a failed or killed save never destroys the old file.

#include "base/FileRead.h"

#include <string>

// Writes the bytes as the file's whole content. A symbolic link is followed: its target is
// replaced and the link stays. A device or a pipe is written into and never replaced. Raises
// EKelvoError naming the file and the system's reason (for example "Unable to write x.G33:
// Permission denied") when the file cannot be written; a file size limit is reported the same way
// instead of ending the process.
void WriteFileAtomically(const std::string& path, const Bytes& bytes);
