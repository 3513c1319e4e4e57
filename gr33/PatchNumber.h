#pragma once
// Patch numbers and labels. Numbers 1..128 are the device's user patches, 0 the temporary
// patch. Patch n sits in grid column ((n-1) mod 4)+1, row ((n-1) div 4)+1; its label is the
// bank letter, the bank's row digit and the column digit (A11 .. D84).

#include <optional>
#include <string>

constexpr int PatchCount = 128;
constexpr int TempPatchNumber = 0;

struct GridPos {
    int column = 0;
    int row = 0;
    bool operator==(const GridPos&) const = default;
};

GridPos PatchToGrid(int number);
// (row-1)*4 + column; column 0 gives 0. A result above 128 is not a patch.
int GridToPatch(int column, int row);
// "Temporary Patch" for 0, otherwise "A11" .. "D84".
std::string PatchLabel(int number);
std::string PatchLabel(int column, int row);
// Row of a row heading: bank letter 'A'..'D' and digit '1'..'8'.
int GridRowOf(char bank, char digit);
// Row heading text of a grid row 1..32 ("A1" .. "D8").
std::string RowHeading(int row);
// The patch number of a label "A11".."D84" (case-insensitive) or "temp"; nothing otherwise.
std::optional<int> PatchNumberOfLabel(const std::string& label);
