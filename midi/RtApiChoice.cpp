#include "midi/RtApiChoice.h"

#include <algorithm>
#include <cctype>

#if __has_include(<fcntl.h>) && __has_include(<unistd.h>)
#include <fcntl.h>
#include <unistd.h>
#define KELVO_HAVE_POSIX_OPEN 1
#endif

namespace rtbackend {

namespace {

bool sameText(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

std::string ApiDisplayName(RtMidi::Api api) {
    switch (api) {
    case RtMidi::LINUX_ALSA:
        return "ALSA";
    case RtMidi::UNIX_JACK:
        return "JACK";
    case RtMidi::MACOSX_CORE:
        return "CoreMIDI";
    case RtMidi::WINDOWS_MM:
        return "WinMM";
    default:
        return RtMidi::getApiDisplayName(api);
    }
}

std::optional<RtMidi::Api> NamedApi(const std::string& name,
                                    const std::vector<RtMidi::Api>& compiled) {
    for (RtMidi::Api candidate : compiled)
        if (sameText(name, ApiDisplayName(candidate)) ||
            sameText(name, RtMidi::getApiName(candidate)) ||
            sameText(name, RtMidi::getApiDisplayName(candidate)))
            return candidate;
    return std::nullopt;
}

RtMidi::Api AutomaticApi(const std::vector<RtMidi::Api>& compiled, bool alsaSequencer,
                         const std::function<bool()>& jackAnswers) {
    auto has = [&](RtMidi::Api wanted) {
        return std::find(compiled.begin(), compiled.end(), wanted) != compiled.end();
    };
    if (has(RtMidi::LINUX_ALSA) && alsaSequencer) return RtMidi::LINUX_ALSA;
    if (has(RtMidi::UNIX_JACK) && jackAnswers()) return RtMidi::UNIX_JACK;
    for (RtMidi::Api candidate : compiled)
        if (candidate != RtMidi::LINUX_ALSA && candidate != RtMidi::UNIX_JACK &&
            candidate != RtMidi::RTMIDI_DUMMY)
            return candidate;
    if (has(RtMidi::UNIX_JACK)) return RtMidi::UNIX_JACK;
    if (has(RtMidi::LINUX_ALSA)) return RtMidi::LINUX_ALSA;
    return RtMidi::RTMIDI_DUMMY;
}

std::vector<RtMidi::Api> CompiledApis() {
    std::vector<RtMidi::Api> apis;
    RtMidi::getCompiledApi(apis);
    return apis;
}

bool AlsaSequencerPresent() {
#ifdef KELVO_HAVE_POSIX_OPEN
    int fd = ::open("/dev/snd/seq", O_RDWR | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    return true;
#else
    return false;
#endif
}

} // namespace rtbackend
