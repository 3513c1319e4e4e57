#include "gr33/PatchDump.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace {

std::string Key(const ParameterInfo& parameter) {
    const std::string_view page = PageName(parameter.page);
    std::string key;
    key.reserve(page.size() + 3 + parameter.caption.size() + 11); // room for " / String n"
    key += page;
    key += " / ";
    key += parameter.caption;
    return key;
}

void AddEffectSlots(const PatchBytes& bytes, std::vector<DumpLine>& lines) {
    const EffectTypeInfo* type = EffectType(bytes[EffectTypeByte]);
    const std::string prefix = std::string{PageName(ParamPage::MultiFx)} + " / ";
    for (int slot = 1; slot <= EffectSlotCount; ++slot) {
        const int byte = EffectTypeByte + slot;
        if (type == nullptr) {
            // No type selected: every byte under its generic caption.
            const ParameterInfo* generic = ParameterAtByte(byte);
            lines.push_back({Key(*generic), ParameterValueText(*generic, bytes), byte});
            continue;
        }
        const EffectSlot& info = type->parameters[slot - 1];
        if (info.IsUsed())
            lines.push_back(
                {prefix + std::string{info.caption}, EffectSlotValueText(info, bytes[byte]), byte});
    }
}

} // namespace

std::string OutOfRangeText(int raw) {
    return std::to_string(raw) + " (out of range)";
}

std::string ParameterValueText(const ParameterInfo& parameter, const PatchBytes& bytes,
                               int string) {
    if (parameter.coding == ParamCoding::Name)
        return NameToText(std::span<const std::uint8_t>(bytes.data(), NameSize));
    const int raw = ReadRaw(parameter, bytes, string);
    if (!IsRawInRange(parameter, raw)) return OutOfRangeText(raw);
    switch (parameter.coding) {
    case ParamCoding::List:
    case ParamCoding::PairList:
        return std::string{*ListEntry(parameter, raw)};
    case ParamCoding::Flag:
        return raw != 0 ? "On" : "Off";
    default:
        return std::to_string(RawToShown(parameter, raw));
    }
}

std::string EffectSlotValueText(const EffectSlot& slot, int byte) {
    return slot.IsInRange(byte) ? std::to_string(byte) : OutOfRangeText(byte);
}

SoundText PatchSoundText(const PatchBytes& bytes) {
    const auto trimmed = [](const std::string& text) {
        const auto first = text.find_first_not_of(' ');
        if (first == std::string::npos) return std::string();
        return text.substr(first, text.find_last_not_of(' ') - first + 1);
    };
    SoundText sound;
    for (const ParameterInfo& parameter : Parameters()) {
        if (parameter.listName == "Tone")
            sound.tones +=
                (sound.tones.empty() ? "" : " / ") + trimmed(ParameterValueText(parameter, bytes));
        else if (parameter.listName == "Multi-FX Type")
            sound.effect = trimmed(ParameterValueText(parameter, bytes));
    }
    return sound;
}

std::vector<DumpLine> DumpPatch(const PatchBytes& bytes) {
    std::vector<DumpLine> lines;
    lines.reserve(112); // 100 lines plus at most twelve effect parameters
    for (const ParameterInfo& parameter : Parameters()) {
        if (parameter.effectSlot != 0) {
            if (parameter.effectSlot == 1) AddEffectSlots(bytes, lines);
            continue;
        }
        if (parameter.IsPerString()) {
            for (int string = 1; string <= StringCount; ++string) {
                std::string key = Key(parameter);
                key += " / String ";
                static_assert(StringCount < 10, "the string number is one digit");
                key += static_cast<char>('0' + string);
                lines.push_back({std::move(key), ParameterValueText(parameter, bytes, string),
                                 parameter.firstByte + string - 1});
            }
        } else {
            lines.push_back(
                {Key(parameter), ParameterValueText(parameter, bytes), parameter.firstByte});
        }
    }
    return lines;
}

std::vector<DumpLine> DumpPatch(const TPatch& patch) {
    return DumpPatch(patch.Bytes());
}

std::vector<DumpLine> DiffPatches(const PatchBytes& a, const PatchBytes& b) {
    const std::vector<DumpLine> left = DumpPatch(a);
    const std::vector<DumpLine> right = DumpPatch(b);
    // The keys are looked up as views of the two dumps' own strings, which outlive the maps.
    std::unordered_set<std::string_view> leftKeys;
    std::unordered_map<std::string_view, const DumpLine*> rightByKey;
    leftKeys.reserve(left.size());
    rightByKey.reserve(right.size());
    for (const DumpLine& line : left)
        leftKeys.insert(line.key);
    for (const DumpLine& line : right)
        rightByKey.emplace(line.key, &line);

    struct Entry {
        DumpLine line;
        int side; // 0: key of a (on both sides or only in a), 1: key only in b
    };
    std::vector<Entry> entries;
    for (const DumpLine& line : left) {
        const auto it = rightByKey.find(line.key);
        if (it != rightByKey.end() && it->second->value == line.value) continue;
        std::string value = line.value;
        value += " -> ";
        value += it == rightByKey.end() ? DiffMissingText : std::string_view{it->second->value};
        entries.push_back({{line.key, std::move(value), line.byte}, 0});
    }
    for (const DumpLine& line : right) {
        if (leftKeys.contains(line.key)) continue;
        entries.push_back(
            {{line.key, std::string{DiffMissingText} + " -> " + line.value, line.byte}, 1});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& x, const Entry& y) {
        return x.line.byte != y.line.byte ? x.line.byte < y.line.byte : x.side < y.side;
    });
    std::vector<DumpLine> lines;
    lines.reserve(entries.size());
    for (Entry& entry : entries)
        lines.push_back(std::move(entry.line));
    return lines;
}

std::vector<DumpLine> DiffPatches(const TPatch& a, const TPatch& b) {
    return DiffPatches(a.Bytes(), b.Bytes());
}

std::string FormatDumpLine(const DumpLine& line) {
    return line.key + ": " + line.value;
}

std::vector<std::string> DiffLines(const PatchBytes& a, const PatchBytes& b) {
    std::vector<std::string> lines;
    for (const DumpLine& line : DiffPatches(a, b))
        lines.push_back(FormatDumpLine(line));
    return lines;
}
