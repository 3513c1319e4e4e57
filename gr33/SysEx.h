#pragma once
// The GR-33's System Exclusive messages as bytes: data set, request, identity request and reply.

#include "base/Bytes.h"

#include <cstdint>
#include <span>

constexpr std::size_t DataMessageSize = 140;
constexpr std::size_t RequestMessageSize = 16;

// (128 - (sum mod 128)) mod 128 over the given bytes (address and data).
std::uint8_t RolandChecksum(std::span<const std::uint8_t> bytes);

// The four address bytes of a patch number: 01 n-1 00 00, or 02 00 00 00 for the temporary patch.
std::array<std::uint8_t, 4> PatchAddress(int number);

// The 16-byte request for one patch.
Bytes RequestMessage(int number);

// F0 7E 10 06 01 F7.
const Bytes& IdentityRequest();
// F0 7E 10 06 02 41 30 01 00 00 00 00 00 00 F7, compared whole.
const Bytes& ExpectedIdentityReply();
