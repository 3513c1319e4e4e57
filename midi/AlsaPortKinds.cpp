#include "midi/AlsaPortKinds.h"

#if __has_include(<alsa/asoundlib.h>)
#include <alsa/asoundlib.h>

std::map<AlsaAddress, TMidiTechnology> AlsaPortKinds() {
    std::map<AlsaAddress, TMidiTechnology> kinds;
    snd_seq_t* seq = nullptr;
    if (snd_seq_open(&seq, "default", SND_SEQ_OPEN_DUPLEX, 0) < 0) return kinds;
    snd_seq_client_info_t* client = nullptr;
    snd_seq_port_info_t* port = nullptr;
    snd_seq_client_info_malloc(&client);
    snd_seq_port_info_malloc(&port);
    constexpr unsigned synthTypes = SND_SEQ_PORT_TYPE_SYNTH | SND_SEQ_PORT_TYPE_DIRECT_SAMPLE |
                                    SND_SEQ_PORT_TYPE_SAMPLE | SND_SEQ_PORT_TYPE_SYNTHESIZER;
    snd_seq_client_info_set_client(client, -1);
    while (snd_seq_query_next_client(seq, client) >= 0) {
        const int clientId = snd_seq_client_info_get_client(client);
        snd_seq_port_info_set_client(port, clientId);
        snd_seq_port_info_set_port(port, -1);
        while (snd_seq_query_next_port(seq, port) >= 0) {
            const unsigned type = snd_seq_port_info_get_type(port);
            kinds[{clientId, snd_seq_port_info_get_port(port)}] =
                (type & synthTypes) ? TMidiTechnology::mtSynth : TMidiTechnology::mtMidiPort;
        }
    }
    snd_seq_port_info_free(port);
    snd_seq_client_info_free(client);
    snd_seq_close(seq);
    return kinds;
}

#else

std::map<AlsaAddress, TMidiTechnology> AlsaPortKinds() {
    return {};
}

#endif
