#pragma once
// Catalogue and message texts are UTF-8 string views; windows show them as QString.

#include <QString>

#include <string_view>

inline QString ToQString(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
