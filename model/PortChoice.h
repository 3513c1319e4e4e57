#pragma once
// The MIDI ports chosen in the librarian's two port menus, as device numbers, and the "Test
// Connection On Send" switch: what every exchange of the collection, the editor and the console
// uses. A port stays unset until its menu has a choice.

#include "base/Errors.h"

struct DevicePorts {
    int out = 0;
    int in = 0;
};

class PortChoice {
public:
    // A port chosen as Unset is unset again (its device is gone).
    static constexpr int Unset = -1;
    void ChooseIn(int device) { in_ = device; }
    void ChooseOut(int device) { out_ = device; }

    // The chosen device numbers; raise "No midi-in device found" / "No midi-out device found"
    // while the port is unset.
    int In() const {
        if (in_ < 0) throw EMidiIn("No midi-in device found");
        return in_;
    }
    int Out() const {
        if (out_ < 0) throw EMidiOut("No midi-out device found");
        return out_;
    }
    // Both ports, as every exchange with the device needs them, even a send that only uses the
    // output; the input is checked first.
    DevicePorts Both() const {
        const int in = In();
        return {Out(), in};
    }

    bool TestBeforeSend() const { return testBeforeSend_; }
    void SetTestBeforeSend(bool on) { testBeforeSend_ = on; }

private:
    int in_ = Unset;
    int out_ = Unset;
    bool testBeforeSend_ = false;
};
