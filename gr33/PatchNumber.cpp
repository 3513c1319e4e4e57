#include "gr33/PatchNumber.h"

#include <cctype>

GridPos PatchToGrid(int number) {
    if (number <= 0) return {0, 0};
    return {(number - 1) % 4 + 1, (number - 1) / 4 + 1};
}

int GridToPatch(int column, int row) {
    if (column == 0) return 0;
    return (row - 1) * 4 + column;
}

std::string PatchLabel(int column, int row) {
    if (column == 0) return "Temporary Patch";
    std::string label;
    label += static_cast<char>('A' + (row - 1) / 8);
    label += static_cast<char>('1' + (row - 1) % 8);
    label += static_cast<char>('0' + column);
    return label;
}

std::string PatchLabel(int number) {
    GridPos pos = PatchToGrid(number);
    return PatchLabel(pos.column, pos.row);
}

int GridRowOf(char bank, char digit) {
    return (digit - '0') + (bank - 'A') * 8;
}

std::string RowHeading(int row) {
    return PatchLabel(1, row).substr(0, 2);
}

std::optional<int> PatchNumberOfLabel(const std::string& label) {
    std::string upper;
    for (char c : label)
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper == "TEMP") return TempPatchNumber;
    if (upper.size() != 3 || upper[0] < 'A' || upper[0] > 'D' || upper[1] < '1' || upper[1] > '8' ||
        upper[2] < '1' || upper[2] > '4')
        return std::nullopt;
    return GridToPatch(upper[2] - '0', GridRowOf(upper[0], upper[1]));
}
