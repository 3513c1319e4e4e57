#pragma once
// TPatch: one GR-33 user patch, its 128 bytes exactly as the device carries them (bytes 0..11
// the name). Slot records live for the whole run; every change copies bytes into them, and an
// editor open on a record is told when all of its bytes are replaced from outside.

#include "base/Bytes.h"
#include "gr33/PatchEditorLink.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

constexpr std::size_t PatchSize = 128;
constexpr std::size_t NameSize = 12;
using PatchBytes = std::array<std::uint8_t, PatchSize>;

// A read position over a block of bytes: the stream the data messages are read from.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    // Copies up to count bytes to out; returns how many were available.
    std::size_t Read(std::uint8_t* out, std::size_t count);
    std::size_t Position() const { return pos_; }
    std::size_t Remaining() const { return bytes_.size() - pos_; }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

class TPatch {
public:
    TPatch() = default;
    // Records are never replaced or copied wholesale; use Assign to copy the bytes.
    TPatch(const TPatch&) = delete;
    TPatch& operator=(const TPatch&) = delete;

    bool IsEmpty() const;
    void Clear();
    std::string GetName() const;
    // Raises "Patch (<label>) is empty!" for an empty patch; number only serves the message.
    void CheckNotEmpty(int number) const;

    std::uint8_t* Data() { return data_.data(); }
    const std::uint8_t* Data() const { return data_.data(); }
    const PatchBytes& Bytes() const { return data_; }

    // Copies source through a temporary-patch data message, refreshing this record's editor.
    void Assign(const TPatch& source);

    // Data messages.
    void WriteSysEx(int number, ::Bytes& stream) const;
    void ReadSysEx(int number, ByteReader& stream);

    // Single-patch files (.P33): one data message addressed to the temporary patch; a .syx file
    // must hold that message alone.
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName, int number) const;

    // Text exchange form (22 lines, gr33/TextForm.h). ImportText says whether the lines were
    // imported or why not, and changes the patch only when they were.
    void ExportText(std::vector<std::string>& lines) const;
    enum class TextImport : int;
    TextImport ImportText(const std::vector<std::string>& lines);

    // Device exchange (one exchange each, ports opened and closed within the call).
    // Fetches patch `number` from the device; raises on no reply, a malformed reply or a port
    // failure, leaving the record unchanged.
    void ReceiveFromDevice(int outDevice, int inDevice, int number);
    // Sends this record under `number`'s address; false (nothing sent) for an empty patch.
    bool SendToDevice(int outDevice, int number) const;

    // Replaces all 128 bytes from outside (a read, a load, an import) and asks the editor to
    // reload. The number names the patch the bytes came for; the record keeps none of its own.
    void SetBytes(const PatchBytes& bytes, int number);

    PatchEditorLink* Editor = nullptr;

private:
    void notifyEditor();
    PatchBytes data_{};
};

// Name characters: display text (UTF-8) with the device's three own glyphs as U+00A5 (byte
// 0x5C), U+00BB (0x7E) and U+00AB (0x7F).
std::string NameToText(std::span<const std::uint8_t> nameBytes);
std::array<std::uint8_t, NameSize> TextToName(const std::string& text);

// Value codings.
inline int ByteToSigned(int byte) {
    return byte - 64;
}
inline int SignedToByte(int value) {
    return value + 64;
}
inline int PairToValue(const std::uint8_t* bytes) {
    return bytes[1] * 128 + bytes[0];
}
inline void ValueToPair(int value, std::uint8_t* bytes) {
    bytes[0] = static_cast<std::uint8_t>(value % 128);
    bytes[1] = static_cast<std::uint8_t>((value / 128) % 128);
}
