#include "gr33/SysEx.h"

#include "gr33/Patch.h"
#include "gr33/PatchNumber.h"

std::uint8_t RolandChecksum(std::span<const std::uint8_t> bytes) {
    unsigned sum = 0;
    for (std::uint8_t b : bytes)
        sum += b;
    return static_cast<std::uint8_t>((128 - sum % 128) % 128);
}

std::array<std::uint8_t, 4> PatchAddress(int number) {
    if (number == TempPatchNumber) return {0x02, 0x00, 0x00, 0x00};
    return {0x01, static_cast<std::uint8_t>(number - 1), 0x00, 0x00};
}

Bytes RequestMessage(int number) {
    auto address = PatchAddress(number);
    // The patch size 128 in 7-bit groups, lowest group first: 00 01 00 00.
    constexpr std::size_t size = PatchSize;
    Bytes message{0xF0,       0x41,       0x10,       0x00,       0x30,       0x11,
                  address[0], address[1], address[2], address[3], size % 128, (size / 128) % 128,
                  0x00,       0x00};
    message.push_back(RolandChecksum(std::span(message).subspan(6, 8)));
    message.push_back(0xF7);
    return message;
}

const Bytes& IdentityRequest() {
    static const Bytes request{0xF0, 0x7E, 0x10, 0x06, 0x01, 0xF7};
    return request;
}

const Bytes& ExpectedIdentityReply() {
    static const Bytes reply{0xF0, 0x7E, 0x10, 0x06, 0x02, 0x41, 0x30, 0x01,
                             0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF7};
    return reply;
}
