// Settings read at start from arbitrary lines (GridFont, MidiInEntry, Channel, Poly): each
// parser takes or refuses a value, and what it takes reads back the same.
#include "base/Errors.h"
#include "model/GridFont.h"
#include "model/PortList.h"
#include "model/Settings.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto values = SplitSettingsLines(std::string(reinterpret_cast<const char*>(data), size));
    values.resize(std::max<std::size_t>(values.size(), 5));
    FontSpec font, again;
    try {
        StringToFont(font, values[0]);
        StringToFont(again, FontToString(font));
        if (again != font || font.size < 1 || font.size > 200 || font.style < 0 || font.style > 255)
            std::abort();
    } catch (const EKelvoError&) {
        if (font != FontSpec{}) std::abort();
    }
    int count = static_cast<int>(size % 8);
    int entry = RestoredEntry(values[1], count);
    if (entry < 0 || (count > 0 && entry >= count)) std::abort();
    if (auto channel = SettingInteger(values[3]))
        if (*channel < -32768 || *channel > 32767 ||
            SettingInteger(std::to_string(*channel)) != channel)
            std::abort();
    TSettingsStore store; // Poly is read as a yes/no setting through the store
    store.WriteSetting("Poly", values[4]);
    if (store.ReadSetting("Poly") != values[4]) std::abort();
    store.IsYes("Poly");
    return 0;
}
