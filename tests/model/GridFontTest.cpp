// The GridFont text: what it takes reads back the same; what it refuses leaves the font alone.

#include "model/GridFont.h"
#include "tests/support/FailureOf.h"

#include <gtest/gtest.h>

namespace {

TEST(GridFont, TextsTakenOrRefused) {
    const FontSpec design{8, 0, "Sans"};
    struct Case {
        const char* text;
        FontSpec font;     // the font after reading the text
        const char* error; // "" when taken or ignored
    };
    const Case cases[] = {
        {"", design, ""},
        {"12", design, ""},
        {"12 1", design, ""},
        {"abc", design, ""},
        {"12 1 Arial Narrow", {12, 1, "Arial Narrow"}, ""},
        {"1 255 X", {1, 255, "X"}, ""},
        {"x 0 Sans Bold", design, "'x' is not a valid integer value"},
        {"10 b Sans", design, "'b' is not a valid integer value"},
        {"10 256 Sans", design, "'256' is not a valid font style"},
        {"10 -1 Sans", design, "'-1' is not a valid font style"},
        {"0 0 Sans", design, "'0' is not a valid font size"},
        {"200 0 S", {200, 0, "S"}, ""},
        {"201 0 Sans", design, "'201' is not a valid font size"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        FontSpec font = design;
        EXPECT_EQ(FailureOf([&] { StringToFont(font, c.text); }), c.error);
        EXPECT_EQ(font, c.font);
        if (font != design) {
            EXPECT_EQ(FontToString(font), c.text);
        }
    }
}

} // namespace
