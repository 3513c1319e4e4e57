#pragma once
// Patch files named on the command line: FILE (a .G33 collection or a .P33 single patch, the
// extension in any case, or a .syx file that is either by its content) or FILE:LABEL for one
// slot of a collection (A11 .. D84).

#include "gr33/CollectionFile.h"
#include "gr33/Patch.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// The kind of a file by its extension, of a .syx file by its content (SysExFileKind); raises
// EUsage for any other extension.
FileKind KindOfFile(const std::string& fileName);

struct PatchSource {
    std::string file;
    FileKind kind = FileKind::SinglePatch;
    std::optional<int> slot; // 1..128 of a collection
};

// Splits off a ":LABEL" naming a slot; raises EUsage for a label on a single-patch file.
PatchSource ParsePatchSource(const std::string& text);

// Loads the one patch the source names into the record and gives its patch number (the slot,
// or 0 for a single-patch file). Raises EUsage for a collection without a slot and the file's
// own errors ("File <name> not found", "Patch file not found", "Illegal patch data format").
int LoadPatch(const PatchSource& source, TPatch& patch);

// Reads the 128 slots of a collection file into the records.
void LoadCollection(const std::string& fileName, std::array<TPatch, 128>& slots);

// Raises EUsage unless the output file name has the extension of that kind (files are written
// as .G33 and .P33 only).
void ExpectOutputKind(const std::string& fileName, FileKind kind);

// The text file as lines; a carriage return before a line feed is dropped. Raises
// "File <name> not found" and the file's read errors.
std::vector<std::string> ReadTextLines(const std::string& fileName);
