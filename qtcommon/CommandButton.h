#pragma once
// The push buttons of the tool windows: named for the tests, never pressed by Return in one of
// the window's fields, and running their handler through RunHandler so an error shows as a
// message box.

#include <functional>

class QObject;
class QPushButton;

QPushButton* CommandButton(QObject* context, const char* name, const char* caption,
                           std::function<void()> handler);

template <class Window>
QPushButton* CommandButton(Window* window, const char* name, const char* caption,
                           void (Window::*handler)()) {
    return CommandButton(window, name, caption, [window, handler] { (window->*handler)(); });
}
