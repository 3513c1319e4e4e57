#include "gr33/TextForm.h"

#include "base/Errors.h"
#include "gr33/Patch.h"

#include <cstdio>
#include <optional>
#include <vector>

std::uint16_t TextChecksum(std::span<const std::uint8_t> bytes) {
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        sum += static_cast<std::uint64_t>(bytes[i]) << ((i + 1) % 7);
    std::uint64_t value = ((bytes.size() % 128) << 24) + (sum % (1u << 24));
    return static_cast<std::uint16_t>(value % 65535);
}

std::string TextFormDate(const std::tm& local) {
    char text[64];
    std::snprintf(text, sizeof text, "%d/%d/%04d %d:%02d", local.tm_mon + 1, local.tm_mday,
                  local.tm_year + 1900, local.tm_hour, local.tm_min);
    return text;
}

namespace {

// Removes leading and trailing blanks and control characters.
std::string trimmed(const std::string& line) {
    std::size_t first = 0, last = line.size();
    while (first < last && static_cast<unsigned char>(line[first]) <= ' ')
        ++first;
    while (last > first && static_cast<unsigned char>(line[last - 1]) <= ' ')
        --last;
    return line.substr(first, last - first);
}

std::string hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value);
    return text;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The 16 bytes of one hex line, or nothing when the line is not a 32-digit block. A pair that
// is not hexadecimal raises the conversion error.
std::optional<std::array<std::uint8_t, 16>> hexBlock(const std::string& line) {
    std::string s = trimmed(line);
    auto open = s.find("<HexBlock>");
    auto close = s.find("</HexBlock>");
    if (open == std::string::npos || close == std::string::npos) return std::nullopt;
    long count = static_cast<long>(close) - static_cast<long>(open) - 10;
    if (count != 32 || s.size() < 10 + 32) return std::nullopt;
    std::string digits = s.substr(10, 32);
    std::array<std::uint8_t, 16> bytes{};
    for (std::size_t k = 0; k < 16; ++k) {
        int hi = hexDigit(digits[2 * k]), lo = hexDigit(digits[2 * k + 1]);
        if (hi < 0 || lo < 0)
            throw EKelvoError("'$" + digits.substr(2 * k, 2) + "' is not a valid integer value");
        bytes[k] = static_cast<std::uint8_t>(hi * 16 + lo);
    }
    return bytes;
}

// Reads the 128 bytes the lines carry into bytes; anything but Imported leaves them partly read.
TextImport importedBytes(const std::vector<std::string>& lines, PatchBytes& bytes) {
    std::size_t d = 0;
    while (d < lines.size() && trimmed(lines[d]) != "<Data>")
        ++d;
    if (d == lines.size() || lines.size() <= d + 8) return TextImport::NoData;
    for (std::size_t k = 0; k < 8; ++k) {
        auto block = hexBlock(lines[d + 1 + k]);
        if (!block) return TextImport::BadBlock;
        std::copy(block->begin(), block->end(), bytes.begin() + 16 * k);
    }
    if (lines.size() <= d + 9 || lines[d + 9] != "<Check>" + hex4(TextChecksum(bytes)) + "</Check>")
        return TextImport::BadCheck;
    return TextImport::Imported;
}

} // namespace

void TPatch::ExportText(std::vector<std::string>& lines) const {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    lines.clear();
    lines.push_back("<Patch>");
    lines.push_back(std::string("<Converter>") + AppName + " " + AppVersion + "</Converter>");
    lines.push_back("<Name>" + trimmed(std::string(data_.begin(), data_.begin() + NameSize)) +
                    "</Name>");
    lines.push_back("<Author>Unknown</Author>");
    lines.push_back("<Description>");
    lines.push_back("</Description>");
    lines.push_back("<Date>" + TextFormDate(local) + "</Date>");
    lines.push_back("<Input>GR-33</Input>");
    lines.push_back("<Output>GR-33</Output>");
    lines.push_back("<Number>0</Number>");
    lines.push_back("<Data>");
    for (std::size_t k = 0; k < 8; ++k) {
        std::string hex;
        for (std::size_t i = 0; i < 16; ++i) {
            char pair[4];
            std::snprintf(pair, sizeof pair, "%02X", data_[16 * k + i]);
            hex += pair;
        }
        lines.push_back("<HexBlock>" + hex + "</HexBlock>");
    }
    lines.push_back("<Check>" + hex4(TextChecksum(data_)) + "</Check>");
    lines.push_back("</Data>");
    lines.push_back("</Patch>");
}

TextImport TPatch::ImportText(const std::vector<std::string>& lines) {
    PatchBytes bytes{};
    const TextImport result = importedBytes(lines, bytes);
    if (result == TextImport::Imported) SetBytes(bytes, 0);
    return result;
}

const char* TextImportMessage(TextImport result) {
    return result == TextImport::Imported ? ImportedText : NotImportedText;
}
