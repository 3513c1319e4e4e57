#include "controls/TColor.h"

QPalette::ColorRole SystemColorRole(int index) {
    switch (index) {
    case 0: // scroll bar
        return QPalette::Mid;
    case 1:  // desktop
    case 4:  // menu
    case 10: // active border
    case 11: // inactive border
        return QPalette::Window;
    case 2:  // active caption
    case 13: // highlight
        return QPalette::Highlight;
    case 3: // inactive caption
        return QPalette::Mid;
    case 5: // window
        return QPalette::Base;
    case 6:  // window frame
    case 21: // 3-D dark shadow
        return QPalette::Shadow;
    case 7: // menu text
    case 8: // window text
        return QPalette::WindowText;
    case 9:  // caption text
    case 14: // highlighted text
        return QPalette::HighlightedText;
    case 12: // application workspace
    case 16: // button shadow
        return QPalette::Dark;
    case 15: // button face
        return QPalette::Button;
    case 17: // grey text
        return QPalette::PlaceholderText;
    case 18: // button text
        return QPalette::ButtonText;
    case 19: // inactive caption text
        return QPalette::Text;
    case 20: // button highlight
        return QPalette::Light;
    case 22: // 3-D light
        return QPalette::Midlight;
    case 23: // tool-tip text
        return QPalette::ToolTipText;
    case 24: // tool-tip background
        return QPalette::ToolTipBase;
    default:
        return QPalette::Window;
    }
}

QColor ToQColor(TColor color, const QPalette& palette) {
    if (IsSystemColor(color))
        return palette.color(QPalette::Active, SystemColorRole(int(color & 0xFF)));
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}
