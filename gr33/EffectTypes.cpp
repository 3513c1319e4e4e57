// The 40 multi-effect types and their twelve parameter slots: caption, range 0..max
// and base (default) of every slot, captions exactly as written (unclosed brackets, "Treshold",
// "D110:0E" and the "-*" marks included).

#include "gr33/CatalogueData.h"

namespace catalogue_data {

namespace {
constexpr EffectSlot Unused{UnusedSlotCaption, 0, 0};
} // namespace

// clang-format off
constexpr std::array<EffectTypeInfo, EffectTypeCount> EffectTypes = {{
    {0, "stereo-eq", {{
        {"Low Freq (200,400 Hz)", 1, 0},
        {"Low Gain (-15..+15 db)", 30, 15},
        {"High Freq (4000, 8000 Hz)", 1, 0},
        {"High Gain (-15..+15 db)", 30, 15},
        {"P1 Freq (200, 250, 315, 400, 500, 630, 800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000 Hz)", 16, 0},
        {"P1 Q (0.5 1 2 4 9)", 4, 0},
        {"P1 Gain (-15..+15 db)", 30, 15},
        {"P2 Freq (200, 250, 315, 400, 500, 630, 800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000 Hz)", 16, 0},
        {"P2 Q (0.5 1 2 4 9)", 4, 0},
        {"P2 Gain (-15..+15 db)", 30, 15},
        {"* Level (0..127)", 127, 0},
        Unused, // 12
    }}},
    {1, "overdrive", {{
        {"* Drive (0..127)", 127, 0},
        {"Pan (L64..R63)", 127, 64},
        {"Amp Type (Small, Built-In, 2-Stack, 3-Stack)", 3, 0},
        {"Low Gain (-15..+15 db)", 30, 15},
        {"High Gain (-15..+15 db)", 30, 15},
        {"Level (0..127)", 127, 0},
        Unused, // 7
        Unused, // 8
        Unused, // 9
        Unused, // 10
        Unused, // 11
        Unused, // 12
    }}},
    {2, "distortion", {{
        {"* Drive (0..127)", 127, 0},
        {"Pan (R64-L63)", 127, 64},
        {"Amp Type (Small, Built-In, 2-Stack, 3-Stack)", 3, 0},
        {"Low Gain (-15..+15 db)", 30, 15},
        {"High Gain (-15..+15 db)", 30, 15},
        {"Level (0..127)", 127, 0},
        Unused, // 7
        Unused, // 8
        Unused, // 9
        Unused, // 10
        Unused, // 11
        Unused, // 12
    }}},
    {3, "phaser", {{
        {"Manual (100..8000 Hz)", 125, 0},
        {"* Rate (0.05..10.0 Hz)", 125, 0},
        {"Depth (0..127)", 127, 0},
        {"Resonance (0..127)", 127, 0},
        {"Mix (0..127)", 127, 0},
        {"Pan (L64..R63)", 127, 64},
        {"Level (0..127)", 127, 0},
        Unused, // 8
        Unused, // 9
        Unused, // 10
        Unused, // 11
        Unused, // 12
    }}},
    {4, "spectrum", {{
        {"Band1 (-15..+15 db)", 30, 15},
        {"Band2 (-15..+15 db)", 30, 15},
        {"Band3 (-15..+15 db)", 30, 15},
        {"Band4 (-15..+15 db)", 30, 15},
        {"Band5 (-15..+15 db)", 30, 15},
        {"Band6 (-15..+15 db)", 30, 15},
        {"Band7 (-15..+15 db)", 30, 15},
        {"Band8 (-15..+15 db)", 30, 15},
        {"Q (0.5, 1.0, 2.0, 4.0, 8.0)", 4, 0},
        {"Pan (L64..R63)", 127, 64},
        {"* Level (0..127)", 127, 0},
        Unused, // 12
    }}},
    {5, "enhancer", {{
        {"Sens (0..127)", 127, 0},
        {"* Mix (0..127)", 127, 0},
        {"Low Gain (-15..+15 db)", 30, 15},
        {"High Gain (-15..+15 db)", 30, 15},
        {"Level (0..127)", 127, 0},
        Unused, // 6
        Unused, // 7
        Unused, // 8
        Unused, // 9
        Unused, // 10
        Unused, // 11
        Unused, // 12
    }}},
    {6, "auto-wah", {{
        {"Filter Type (LPF, BPF)", 1, 0},
        {"Rate (0.05.. 10.0 Hz)", 125, 0},
        {"Depth (0..127)", 127, 0},
        {"Sens (0..127)", 127, 0},
        {"* Manual (0..127)", 127, 0},
        {"Peak (0..127)", 127, 0},
        {"Level (0..127)", 127, 0},
        Unused, // 8
        Unused, // 9
        Unused, // 10
        Unused, // 11
        Unused, // 12
    }}},
    {7, "rotary", {{
        {"High Slow (0.05..10.0 Hz)", 125, 0},
        {"Low Slow (0.05..10.0 Hz)", 125, 0},
        {"High Fast (0.05..10.0 Hz)", 125, 0},
        {"Low Fast (0.05..10.0 Hz)", 125, 0},
        {"* Speed (Slow, Fast)", 1, 0},
        {"High Accl (0..15", 15, 0},
        {"Low Accl (0..15)", 15, 0},
        {"High Level (0..127)", 127, 0},
        {"Low Level (0..127)", 127, 0},
        {"Separation (0..127)", 127, 0},
        {"Level (0..127)", 127, 0},
        Unused, // 12
    }}},
    {8, "compressor", {{
        {"Sustain (0..127)", 127, 0},
        {"Attack (0..127)", 127, 0},
        {"Pan (L64..R63)", 127, 64},
        {"Post Gain (0, +6, +12, +18 db)", 3, 0},
        {"Low Gain (-15..+15 db)", 30, 15},
        {"High Gain (-15..+15 db)", 30, 15},
        {"* Level (0..127)", 127, 0},
        Unused, // 8
        Unused, // 9
        Unused, // 10
        Unused, // 11
        Unused, // 12
    }}},
    {9, "limiter", {{
        {"Treshold (0..127)", 127, 0},
        {"Release (0..127)", 127, 0},
        {"Ratio (1.5:1, 2:1, 4:1, 100:1)", 3, 0},
        {"Pan (L64..R63)", 127, 64},
        {"Post Gain (0, +6, +12, +18 db)", 3, 0},
        {"Low Gain (-15..+15 db)", 30, 15},
        {"High Gain (-15..+15 db)", 30, 15},
        {"* Level (0..127)", 127, 0},
        Unused, // 9
        Unused, // 10
        Unused, // 11
        Unused, // 12
    }}},
    {10, "hexa-chorus", {{
        {"Pre Delay (0.0..100 msec)", 125, 0},
        {"* Rate (0.05..10.0 Hz)", 125, 0},
        {"Depth (0..127)", 127, 0},
        {"Pre Dly Dev (0..20)", 20, 0},
        {"Depth Dev (-20..20)", 40, 20},
        {"Pan Dev (0..20)", 20, 0},
        {"Balance (D100:0E..D0:100E)", 100, 50},
        {"Level (0..127)", 127, 0},
        Unused, // 9
        Unused, // 10
        Unused, // 11
        Unused, // 12
    }}},
    {11, "tremolo-chorus", {{
        {"Pre Delay (0.0..100 msec)", 125, 0},
        {"Chorus Rate (0.05..10.0 Hz)", 125, 0},
        {"Chorus Depth (0..127)", 127, 0},
        {"* Trem Rate (0.05..10.0 Hz)", 125, 0},
        {"Trem Sep (0..127)", 127, 0},
        {"Trem Phase (0..180)", 90, 0},
        {"Balance (D100:0E..D0:100E)", 100, 50},
        {"Level (0..127)", 127, 0},
        Unused, // 9
        Unused, // 10
        Unused, // 11
        Unused, // 12
    }}},
    {12, "space-d", {{
        {"Pre Delay ( 0.0..100 msec)", 125, 0},
        {"* Rate (0.05..10.0 Hz)", 125, 0},
        {"Depth (0..127)", 127, 0},
        {"Phase (0..180)", 90, 0},
        {"Low Gain (-15..+15 db)", 30, 15},
        {"High Gain (-15..+15 db)", 30, 15},
        {"Balance (D100:0E..D0:100E)", 100, 50},
        {"Level (0..127)", 127, 0},
        Unused, // 9
        Unused, // 10
        Unused, // 11
        Unused, // 12
    }}},
    {13, "stereo-chorus", {{
        {"Filter Type (OFF, LPF, HPF)", 2, 0},
        {"Cutoff Freq (200, 250, 315, 400, 500, 630, 800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000 Hz)", 16, 0},
        {"Pre Delay (0.0-100 msec)", 125, 0},
        {"* Rate (0.05-10.0 Hz)", 125, 0},
        {"Depth (0..127)", 127, 0},
        {"Phase (0..180)", 90, 0},
        Unused, // 7
        {"Low Gain (-15..+15 db)", 30, 15},
        {"High Gain (-15..+15 db)", 30, 15},
        {"Balance (D100:0E..D0:100E)", 100, 50},
        {"Level (0..127)", 127, 0},
        Unused, // 12
    }}},
    {14, "stereo-flanger", {{
        {"Filter Type (OFF; LPF, HPF)", 2, 0},
        {"Cutoff Freq (200, 250, 315, 400, 500, 630, 800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000 Hz)", 16, 0},
        {"Pre Delay (0.0..100 msec)", 125, 0},
        {"* Rate (0.05..10.0 Hz)", 125, 0},
        {"Depth (0..127)", 127, 0},
        {"Phase (0..180)", 90, 0},
        {"Feedback (-98..98 %)", 98, 49},
        {"Low Gain (-15..+15 db)", 30, 15},
        {"High Gain (-15..+15 db)", 30, 15},
        {"Balance (D100:0E..D0:100E)", 100, 50},
        {"Level (0..127)", 127, 0},
        Unused, // 12
    }}},
    {15, "step-flanger", {{
        {"Pre Delay (0.0..100 msec)", 125, 0},
        {"Rate (0.05..10.0 Hz)", 125, 0},
        {"Depth (0..127)", 127, 0},
        {"Feedback (-98..98 %)", 98, 49},
        {"* Step Rate (0.05..10.0 Hz)", 115, 0},
        {"Phase (0..180)", 90, 0},
        {"Low Gain (-15..+15 db)", 30, 15},
        {"High Gain (-15..+15 db)", 30, 15},
        {"Balance (D100:0E..D0:100E)", 100, 50},
        {"Level (0..127)", 127, 0},
        Unused, // 11
        Unused, // 12
    }}},
    {16, "stereo-delay", {{
        {"FB Mode (Normal, Cross)", 1, 0},
        {"Delay Left (0.0..500 msec)", 126, 0},
        {"Delay Right (0.0..500 msec)", 126, 0},
        {"Phase Left (Normal, Invert)", 1, 0},
        {"Phase Right (Normal, Invert)", 1, 0},
        {"* Feedback (-98..98 %)", 98, 49},
        {"HF Damp (200, 250, 315, 400, 500, 630, 800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000 Hz, Bypass)", 17, 0},
        {"Low Gain (-15..+15 db)", 30, 15},
        {"High Gain (-15..+15 db)", 30, 15},
        {"Balance (D100:0E..D0:100E", 100, 50},
        {"Level (0..127)", 127, 0},
        Unused, // 12
    }}},
    {17, "modulation-delay", {{
        {"FB Mode (Normal, Cross)", 1, 0},
        {"Delay Left (0.0..500 msec)", 126, 0},
        {"Delay Right (0.0..500 msec)", 126, 0},
        {"Feedback -98..98 %)", 98, 49},
        {"HF Damp (200, 250, 315, 400, 500, 630, 800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000 Hz, Bypass)", 17, 0},
        {"* Rate (0.05..10.0 Hz)", 125, 0},
        {"Depth (0..127)", 127, 0},
        {"Phase (0..180)", 90, 0},
        {"Low Gain (-15..+15 db)", 30, 15},
        {"High Gain (-15..+15 db)", 30, 15},
        {"Balance (D100:0E..D0:100E)", 100, 50},
        {"Level (0..127)", 127, 0},
    }}},
    {18, "triple-tap-delay", {{
        {"Delay Left (200..1000 msec)", 115, 0},
        {"Delay Right (200..1000 msec)", 115, 0},
        {"Delay Center (200..1000 msec)", 115, 0},
        {"* Feedback (-98..98 %)", 98, 49},
        {"HF Damp (200, 250, 315, 400, 500, 630, 800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000 Hz, Bypass)", 17, 0},
        {"Left Level (0..127)", 127, 0},
        {"Right Level (0..127)", 127, 0},
        {"Center Level (0..127)", 127, 0},
        {"Low Gain (-15..+15 db)", 30, 15},
        {"High Gain (-15..+15 db)", 30, 15},
        {"Balance (D100:0E..D0:100E)", 100, 50},
        {"Level (0..127)", 127, 0},
    }}},
    {19, "quadruple-tap-delay", {{
        {"Delay1 (22..1000 msec)", 115, 0},
        {"Delay2 (22..1000 msec)", 115, 0},
        {"Delay3 (22..1000 msec)", 115, 0},
        {"Delay4 (22..1000 msec)", 115, 0},
        {"Level1 (0..127)", 127, 0},
        {"Level2 (0..127)", 127, 0},
        {"Level3 (0..127)", 127, 0},
        {"Level4 (0..127)", 127, 0},
        {"* Feedback (-98..98 %)", 98, 49},
        {"HF Damp (200, 250, 315, 400, 500, 630, 800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000 Hz, Bypass)", 17, 0},
        {"Balance (D100:0E..D0:100E)", 100, 50},
        {"Level (0..127)", 127, 0},
    }}},
    {20, "time-control-delay", {{
        {"* Delay (200..1000 msec)", 120, 0},
        {"Feedback (-98..98 %)", 98, 49},
        {"Acceleration (0..15)", 15, 0},
        {"HF Damp (200, 250, 315, 400, 500, 630, 800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000 Hz, Bypass)", 17, 0},
        {"Pan (L64..R63)", 127, 64},
        {"Low Gain (-15..+15 db)", 30, 15},
        {"High Gain (-15..+15 db)", 30, 15},
        {"Balance (D100:0E..D0:100E)", 100, 50},
        {"Level (0..127)", 127, 0},
        Unused, // 10
        Unused, // 11
        Unused, // 12
    }}},
    {21, "2voice-pitch-shifter", {{
        {"Mode (1..5)", 4, 0},
        {"* Coarse A (-24..+12)", 36, 24},
        {"Coarse B (-24..+12)", 36, 24},
        {"Fine A (-100..+100)", 100, 50},
        {"Fine B (-100..+100)", 100, 50},
        {"Pre Delay A (0.0..500 msec)", 126, 0},
        {"Pre Delay B (0.0..500 msec)", 126, 0},
        {"Pan A (L64..R63)", 127, 64},
        {"Pan B (L64..R63)", 127, 64},
        {"LVL Balance (A100:0B..A0:100B)", 100, 50},
        {"Balance (d100:0E..D0:100E)", 100, 50},
        {"Level (0..127)", 127, 0},
    }}},
    {22, "fbk-pitch-shifter", {{
        {"Mode (1..5)", 4, 0},
        {"* Coarse (-24..+12)", 36, 24},
        {"Fine (-100..+100)", 100, 50},
        {"Pre Delay (0.0..500 msec)", 126, 0},
        {"Feedback (-98..98 %)", 98, 49},
        {"Pan (L64..R63)", 127, 64},
        {"Low Gain (-15..+15 db)", 30, 15},
        {"High Gain (-15..+15 db)", 30, 15},
        {"Balance (D100:0E..D0:100E)", 100, 50},
        {"Level ((0..127)", 127, 0},
        Unused, // 11
        Unused, // 12
    }}},
    {23, "reverb", {{
        {"Type (Room1, Room2, Stage1, Stage2, Hall1, Hall2)", 5, 0},
        {"Pre Delay (0.0..100 msec)", 125, 0},
        {"* Time (0..127)", 127, 0},
        {"HF Damp (200, 250, 315, 400, 500, 630, 800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000 Hz, Bypass)", 17, 0},
        {"Low Gain (-15..+15 db)", 30, 15},
        {"High Gain (-15..+15 db)", 30, 15},
        {"Balance (D100:0E..D0:100E)", 100, 50},
        {"Level (0..127)", 127, 0},
        Unused, // 9
        Unused, // 10
        Unused, // 11
        Unused, // 12
    }}},
    {24, "gate-reverb", {{
        {"Type (Normal, Reverse, Sweep1, Sweep2)", 3, 0},
        {"Pre Delay (0.0..100 msec)", 125, 0},
        {"Gate Time (5..500 msec)", 99, 0},
        {"Low Gain (-15..+15 db)", 30, 15},
        {"High Gain (-15..+15 db)", 30, 15},
        {"* Balance (D100:0E..D0:100E)", 100, 50},
        {"Level (0..127)", 127, 0},
        Unused, // 8
        Unused, // 9
        Unused, // 10
        Unused, // 11
        Unused, // 12
    }}},
    {25, "overdrive chorus", {{
        {"* OD Drive (0..127)", 127, 0},
        {"OD Pan (L64..R63)", 127, 64},
        {"CHO Pre Dly (0.0..100 msec)", 125, 0},
        {"CHO Rate (0.05..10.0 Hz", 125, 0},
        {"CHO Depth (0..127)", 127, 0},
        Unused, // 6
        {"-CHO Balance (D110:0E..D0:100E)", 100, 50},
        {"Level (0..127)", 127, 0},
        Unused, // 9
        Unused, // 10
        Unused, // 11
        Unused, // 12
    }}},
    {26, "overdrive flanger", {{
        {"* OD Drive (0..127)", 127, 0},
        {"OD Pan (L64..R63)", 127, 64},
        {"FL pre Dly (0.0..100 msec)", 125, 0},
        {"FL Rate (0.05..10.0 Hz)", 125, 0},
        {"FL Depth (0..127)", 127, 0},
        {"FL Feedback (-98..98 %)", 98, 49},
        {"FL Balance (D100:0E..D0:100E)", 100, 50},
        {"Level (0..127)", 127, 0},
        Unused, // 9
        Unused, // 10
        Unused, // 11
        Unused, // 12
    }}},
    {27, "overdrive delay", {{
        {"-* OD Drive (0..127)", 127, 0},
        {"OD Pan (L64..R63)", 127, 64},
        {"DLY Time (0.0..500 msec)", 126, 0},
        {"DLY Feedback (-98..98 %)", 98, 49},
        {"DLY HF Damp (200, 250, 315, 400, 500, 630, 800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000 Hz, Bypass)", 17, 0},
        {"DLY Balance (D100:0E..D0:100E)", 100, 50},
        {"Level (0..127)", 127, 0},
        Unused, // 8
        Unused, // 9
        Unused, // 10
        Unused, // 11
        Unused, // 12
    }}},
    {28, "distortion chorus", {{
        {"* DS Drive (0..127)", 127, 0},
        {"DS Pan (L64..R63)", 127, 64},
        {"CHO Pre Dly (0.0..100 msec)", 125, 0},
        {"CHO Rate (0.05..10.0 Hz)", 125, 0},
        {"CHO Depth (0..127)", 127, 0},
        Unused, // 6
        {"CHO Balance (D100:0E..D0:100E)", 100, 50},
        {"Level (0..127)", 127, 0},
        Unused, // 9
        Unused, // 10
        Unused, // 11
        Unused, // 12
    }}},
    {29, "distortion flanger", {{
        {"* DS Drive (0..127)", 127, 0},
        {"DS Pan (L64..R63)", 127, 64},
        {"FL Pre Dly (0.0..100 msec)", 125, 0},
        {"Fl Rate (0.05..10.0 Hz)", 125, 0},
        {"FL Depth (0..127)", 127, 0},
        {"Fl Feedback (-98..98 %)", 98, 49},
        {"FL Balance (D100:0E..D0:100E)", 100, 50},
        {"Level (0..127)", 127, 0},
        Unused, // 9
        Unused, // 10
        Unused, // 11
        Unused, // 12
    }}},
    {30, "distortion delay", {{
        {"* DS Drive (0..127)", 127, 0},
        {"DS Pan (L64..R63)", 127, 64},
        {"DLY Time (0.0..500 msec)", 126, 0},
        {"DLY Feedback (-98..98 %)", 98, 49},
        {"DLY HF Damp (200, 250, 315, 400, 500, 630, 800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000 Hz, Bypass)", 17, 0},
        {"DLY Balance (D100:0E..D0:100E)", 100, 50},
        {"Level (0..127)", 127, 0},
        Unused, // 8
        Unused, // 9
        Unused, // 10
        Unused, // 11
        Unused, // 12
    }}},
    {31, "enhancer chorus", {{
        {"EH Sens (0..127)", 127, 0},
        {"EH Mix (0..127)", 127, 0},
        {"CHO Pre Dly (0.0..100 msec)", 125, 0},
        {"* CHO Rate (0.05..10.0 Hz)", 125, 0},
        {"CHO Depth (0..127)", 127, 0},
        Unused, // 6
        {"CHO Balance (D100:0E..D0:100E)", 100, 50},
        {"Level (0..127)", 127, 0},
        Unused, // 9
        Unused, // 10
        Unused, // 11
        Unused, // 12
    }}},
    {32, "enhancer flanger", {{
        {"EH Sens (0..127)", 127, 0},
        {"EH Mix (0..127)", 127, 0},
        {"FL Pre Dly (0.0..100 msec)", 125, 0},
        {"* FL Rate (0.05...10.0 Hz)", 125, 0},
        {"FL Depth (0..127)", 127, 0},
        {"FL Feedback (-98..98 %)", 98, 49},
        {"FL Balance (D100:0E..D0:100E)", 100, 50},
        {"Level (0..127)", 127, 0},
        Unused, // 9
        Unused, // 10
        Unused, // 11
        Unused, // 12
    }}},
    {33, "enhancer delay", {{
        {"EH Sens (0..127)", 127, 0},
        {"EH Mix (0..127)", 127, 0},
        {"DLY Time (0.0..500 msec)", 126, 0},
        {"* DLY Feedback (-98..98 %)", 98, 49},
        {"DLY HF Damp (200, 250, 315, 400, 500, 630, 800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000 Hz, Bypass)", 17, 0},
        Unused, // 6
        {"DLY Balance (D100:0E..D0:100E)", 100, 50},
        {"Level (0..127)", 127, 0},
        Unused, // 9
        Unused, // 10
        Unused, // 11
        Unused, // 12
    }}},
    {34, "chorus delay", {{
        {"CHO Pre Dly (0.0..100 msec)", 125, 0},
        {"-* CHO Rate (0.05..10.0 Hz)", 125, 0},
        {"CHO Depth (0..127)", 127, 0},
        Unused, // 4
        {"CHO Balance (D100:0E..D0:100E)", 100, 50},
        {"DLY Time (0.0..500 msec)", 126, 0},
        {"DLY Feedback (-98..98 %)", 98, 49},
        {"DLY HF Damp (200, 250, 315, 400, 500, 630, 800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000 Hz, Bypass)", 17, 0},
        {"DLY Balance (D100:0E..D0:100E)", 100, 50},
        {"Level (0..127)", 127, 0},
        Unused, // 11
        Unused, // 12
    }}},
    {35, "flanger delay", {{
        {"FL Pre Dly (0.0..100 msec)", 125, 0},
        {"* FL Rate (0.0..10.0 Hz)", 125, 0},
        {"FL Depth (0..127)", 127, 0},
        {"FL Feedback (-98..98 %)", 98, 49},
        {"FL Balance (D100:0E..D0:100E)", 100, 50},
        {"DLY Time (0.0..500 msec)", 126, 0},
        {"DLY Feedback (-98..98 %)", 98, 49},
        {"DLY HF Damp (200, 250, 315, 400, 500, 630, 800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000 Hz, Bypass)", 17, 0},
        {"DLY Balance (D100:0E..D0:100E)", 100, 50},
        {"Level (0..127)", 127, 0},
        Unused, // 11
        Unused, // 12
    }}},
    {36, "chorus flanger", {{
        {"CHO Pre Dly (0.0..100 msec)", 125, 0},
        {"CHO Rate (0.05..10.0 Hz)", 125, 0},
        {"CHO Depth (0..127)", 127, 0},
        {"CHO Balance (D100:0E..D0:100E)", 100, 50},
        {"FL Pre Dly (0.0..100 msec)", 125, 0},
        {"* FL Rate (0.05..10.0 Hz)", 125, 0},
        {"FL Depth (0..127)", 127, 0},
        {"FL Feedback (-98..98 %)", 98, 49},
        {"FL Balance (D100:0E..D0:100E)", 100, 50},
        {"Level (0..127)", 127, 0},
        Unused, // 11
        Unused, // 12
    }}},
    {37, "chorus/delay", {{
        {"CHO Pre Dly (0.0..100 msec)", 125, 0},
        {"* CHO Rate (0.05..10.0 Hz)", 125, 0},
        {"CHO Depth (0..127)", 127, 0},
        Unused, // 4
        {"CHO Balance (D100:0E..D0:100E)", 100, 50},
        {"DLY Time (0.0..500 msec)", 126, 0},
        {"DLY Feedback (-98..98 %)", 98, 49},
        {"Dly HF Damp (200, 250, 315, 400, 500, 630, 800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000 Hz, Bypass)", 17, 0},
        {"DLY Balance (D100:0E..D0:100E)", 100, 50},
        {"Level (0..127)", 127, 0},
        Unused, // 11
        Unused, // 12
    }}},
    {38, "flanger/delay", {{
        {"FL Pre Dly (0.0..100 msec)", 125, 0},
        {"* FL Rate (0.05..10.0 Hz)", 125, 0},
        {"FL Depth (0..127)", 127, 0},
        {"FL Feedback (-98..98 %)", 98, 49},
        {"FL Balance (D100:0E..D0:100E)", 100, 50},
        {"DLY Time (0.0..500 msec)", 126, 0},
        {"DLY Feedback (-98..98 %)", 98, 49},
        {"DLY HF Damp (200, 250, 315, 400, 500, 630, 800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000 Hz, Bypass)", 17, 0},
        {"DLY Balance (D100:0E..D0:100E)", 100, 50},
        {"Level (0..127)", 127, 0},
        Unused, // 11
        Unused, // 12
    }}},
    {39, "chorus/flanger", {{
        {"CHO Pre Dly (0.0..100 msec)", 125, 0},
        {"CHO Rate (0.05..10.0 Hz)", 125, 0},
        {"CHO Depth (0..127)", 127, 0},
        {"CHO Balance (D100:0E..D0:100E)", 100, 50},
        {"FL Pre Dly (0.0..100 msec)", 125, 0},
        {"* FL Rate (0.05..10.0 Hz)", 125, 0},
        {"FL Depth (0..127)", 127, 0},
        {"FL Feedback (-98..98 %)", 98, 49},
        {"FL Balance (D100:0E..D0:100E)", 100, 50},
        {"Level (0..127)", 127, 0},
        Unused, // 11
        Unused, // 12
    }}},
}};
// clang-format on

constexpr std::array<std::string_view, EffectTypeCount> EffectTypeNames = [] {
    std::array<std::string_view, EffectTypeCount> names{};
    for (int i = 0; i < EffectTypeCount; ++i)
        names[i] = EffectTypes[i].name;
    return names;
}();

} // namespace catalogue_data

int EffectTypeInfo::UsedSlotCount() const {
    int count = 0;
    for (const EffectSlot& slot : parameters)
        count += slot.IsUsed() ? 1 : 0;
    return count;
}

std::array<std::uint8_t, EffectSlotCount> EffectTypeInfo::Defaults() const {
    std::array<std::uint8_t, EffectSlotCount> bytes{};
    for (int i = 0; i < EffectSlotCount; ++i)
        bytes[i] = static_cast<std::uint8_t>(parameters[i].base);
    return bytes;
}

std::span<const EffectTypeInfo> EffectTypes() {
    return catalogue_data::EffectTypes;
}

const EffectTypeInfo* EffectType(int number) {
    if (number < 0 || number >= EffectTypeCount) return nullptr;
    return &catalogue_data::EffectTypes[number];
}

std::span<const std::string_view> EffectTypeNames() {
    return catalogue_data::EffectTypeNames;
}

std::string EffectHeading(std::string_view typeText, std::string_view switchText) {
    std::string heading = "Effect: ";
    heading += typeText;
    heading += " (Switch: ";
    heading += switchText;
    heading += ")";
    return heading;
}
