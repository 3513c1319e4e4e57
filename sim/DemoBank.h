#pragma once
// The demo bank a fresh simulated GR-33 starts with: patch k plays tone k as its 1st tone and
// is named after it; every other parameter holds a plain, playable setting.

#include "gr33/Patch.h"

#include <array>

// The demo patch of user patch number 1..128.
PatchBytes DemoPatch(int number);
std::array<PatchBytes, 128> DemoBank();
