// The settings file from arbitrary text: reading never fails, and every setting read back
// after a write holds exactly the value written.
#include "model/Settings.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    auto lines = SplitSettingsLines(text);
    std::size_t breaks = 0;
    for (char c : text)
        breaks += (c == '\n' || c == '\r');
    if (lines.size() > breaks + 1) std::abort();
    TSettingsStore store;
    store.Start("/nonexistent/kelvo-fuzz.ini");
    for (const auto& line : lines) {
        auto eq = line.find('=');
        if (eq == std::string::npos || eq == 0) continue;
        std::string name = line.substr(0, eq);
        if (name.find_first_of("\r\n") != std::string::npos) continue;
        store.WriteSetting(name, line.substr(eq + 1));
        if (store.ReadSetting(name) != line.substr(eq + 1)) std::abort();
    }
    return 0;
}
