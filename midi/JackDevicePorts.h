#pragma once
// Which JACK ports belong to the device that owns a port: those of its client, and of the
// clients the server named after it ("Name-01", a program's second client).

#include <string>
#include <vector>

// The ports among `ports` (full "client:port" names) whose client is the one that owns `port`
// or is named after it, in their order. A numbered client ("Name-02") stands for "Name".
std::vector<std::string> JackDevicePorts(const std::string& port,
                                         const std::vector<std::string>& ports);
