// gr33: the command-line tool for GR-33 patch files and the device.

#include "cli/Gr33Cli.h"

#include <iostream>

int main(int argc, char** argv) {
    return RunGr33(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
