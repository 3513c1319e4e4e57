#pragma once
// Drop-down lists that open as a list of a fixed number of entries below (or above) the list,
// scrolling for the rest. Styles that open a list as a menu over the current entry (Fusion among
// them) show as many entries as the screen holds and ignore the list's limit; such lists get a
// style that opens the plain list instead.

class QComboBox;

// Opens the list with at most visibleEntries entries at a time.
void LimitListPopup(QComboBox& list, int visibleEntries);
