#pragma once
// The command line of gr33-sim, parsed by CLI11:
//   gr33-sim [--api alsa|jack] [--name NAME] [--bank FILE] [--wire] [--delay MS]
//            [--fault KIND[@LABEL]]... [--verbose]
//   gr33-sim --help | --version

#include "sim/Gr33Device.h"

#include <string>
#include <vector>

struct SimCommandLine {
    std::string api = "alsa";
    std::string name = "GR-33 Simulator";
    std::string bankFile; // DefaultSimBankPath() unless given
    DeviceOptions options;
    bool verbose = false; // log every message handled on stderr
    bool help = false;
    bool version = false;
};

inline constexpr const char* SimUsage =
    "usage: gr33-sim [--api alsa|jack] [--name NAME] [--bank FILE] [--wire] [--delay MS]\n"
    "                [--fault KIND[@LABEL]]... [--verbose]\n"
    "       gr33-sim --help | --version\n"
    "  KIND: silent, late, wrong-address, bad-checksum, truncated, noise, identity-extra,\n"
    "        ignore-write, corrupt-write\n"
    "  LABEL: A11 .. D84 or temp\n";

// Parses the arguments after the program name. Raises EKelvoError with the reason for a
// usage error.
SimCommandLine ParseSimCommandLine(const std::vector<std::string>& args);

// $XDG_DATA_HOME/KelvoLight/gr33-sim.G33, or ~/.local/share/KelvoLight/gr33-sim.G33.
std::string DefaultSimBankPath();
