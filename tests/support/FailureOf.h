#pragma once
// What `action` raised, or "" when it returned: one text to compare with the message a test
// expects.

#include <exception>
#include <functional>
#include <string>

inline std::string FailureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}
