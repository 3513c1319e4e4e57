#include "gr33/Patch.h"

#include "base/Errors.h"
#include "gr33/PatchNumber.h"
#include "gr33/SysEx.h"

#include <algorithm>
#include <cstring>

namespace {
const char* const IllegalFormat = "Illegal patch data format";
}

std::size_t ByteReader::Read(std::uint8_t* out, std::size_t count) {
    std::size_t n = std::min(count, Remaining());
    if (n > 0) std::memcpy(out, bytes_.data() + pos_, n);
    pos_ += n;
    return n;
}

bool TPatch::IsEmpty() const {
    return std::all_of(data_.begin(), data_.end(), [](std::uint8_t b) { return b == 0; });
}

void TPatch::Clear() {
    data_.fill(0);
}

std::string TPatch::GetName() const {
    if (IsEmpty()) return "Empty";
    return std::string(data_.begin(), data_.begin() + NameSize);
}

void TPatch::CheckNotEmpty(int number) const {
    if (IsEmpty()) throw EKelvoError("Patch (" + PatchLabel(number) + ") is empty!");
}

void TPatch::Assign(const TPatch& source) {
    if (&source == this) return;
    ::Bytes stream;
    source.WriteSysEx(TempPatchNumber, stream);
    ByteReader reader(stream);
    ReadSysEx(TempPatchNumber, reader);
}

void TPatch::WriteSysEx(int number, ::Bytes& stream) const {
    static constexpr std::uint8_t header[] = {0xF0, 0x41, 0x10, 0x00, 0x30, 0x12};
    std::size_t start = stream.size();
    stream.insert(stream.end(), std::begin(header), std::end(header));
    auto address = PatchAddress(number);
    stream.insert(stream.end(), address.begin(), address.end());
    stream.insert(stream.end(), data_.begin(), data_.end());
    stream.push_back(RolandChecksum(std::span(stream).subspan(start + 6, 4 + PatchSize)));
    stream.push_back(0xF7);
}

void TPatch::ReadSysEx(int number, ByteReader& stream) {
    std::array<std::uint8_t, DataMessageSize> message{};
    if (stream.Read(message.data(), 10) < 10) throw EKelvoError(IllegalFormat);
    static constexpr std::uint8_t header[] = {0xF0, 0x41, 0x10, 0x00, 0x30, 0x12};
    auto address = PatchAddress(number);
    if (!std::equal(std::begin(header), std::end(header), message.begin()) ||
        !std::equal(address.begin(), address.end(), message.begin() + 6))
        throw EKelvoError(IllegalFormat);
    if (stream.Read(message.data() + 10, PatchSize + 2) < PatchSize + 2)
        throw EKelvoError(IllegalFormat);
    std::uint8_t checksum = message[10 + PatchSize];
    std::uint8_t end = message[11 + PatchSize];
    if (end != 0xF7 || checksum != RolandChecksum(std::span(message).subspan(6, 4 + PatchSize)))
        throw EKelvoError(IllegalFormat);
    PatchBytes bytes;
    std::copy_n(message.begin() + 10, PatchSize, bytes.begin());
    SetBytes(bytes, number);
}

void TPatch::SetBytes(const PatchBytes& bytes, int /*number*/) {
    data_ = bytes;
    notifyEditor();
}

void TPatch::notifyEditor() {
    if (Editor) {
        Editor->LoadControls(EditorReload::AfterAsking);
        Editor->SetupEffectPage();
    }
}

std::string NameToText(std::span<const std::uint8_t> nameBytes) {
    std::string text;
    for (std::uint8_t b : nameBytes.first(std::min(nameBytes.size(), NameSize))) {
        switch (b) {
        case 0x5C:
            text += "\u00A5";
            break;
        case 0x7E:
            text += "\u00BB";
            break;
        case 0x7F:
            text += "\u00AB";
            break;
        default:
            if (b >= 0x20 && b < 0x7F) text += static_cast<char>(b);
        }
    }
    return text;
}

namespace {
// Decodes one UTF-8 code point at pos and advances pos; malformed bytes decode as themselves
// (values above 0x7F, which the name mapping then drops).
char32_t nextCodePoint(const std::string& text, std::size_t& pos) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(pos);
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (extra == 0 || pos + extra >= text.size()) {
        ++pos;
        return lead;
    }
    char32_t cp = lead & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) {
            ++pos;
            return lead;
        }
        cp = (cp << 6) | (byte(pos + i) & 0x3F);
    }
    pos += extra + 1;
    return cp;
}
} // namespace

std::array<std::uint8_t, NameSize> TextToName(const std::string& text) {
    std::array<std::uint8_t, NameSize> name;
    name.fill(0x20);
    std::size_t kept = 0;
    std::size_t pos = 0;
    while (pos < text.size() && kept < NameSize) {
        char32_t c = nextCodePoint(text, pos);
        std::uint8_t b;
        if (c == 0xA5)
            b = 0x5C;
        else if (c == 0xAB)
            b = 0x7F;
        else if (c == 0xBB)
            b = 0x7E;
        else if (c >= 0x20 && c <= 0x7F)
            b = static_cast<std::uint8_t>(c);
        else
            continue;
        name[kept++] = b;
    }
    return name;
}
