#pragma once
// Shows the hourglass for the guard's lifetime and restores the previous cursor on every exit.

class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};
