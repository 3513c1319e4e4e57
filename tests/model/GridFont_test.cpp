// The GridFont text.

#include "base/Errors.h"
#include "model/GridFont.h"

#include <gtest/gtest.h>

namespace {

TEST(GridFont, IncompleteTextsLeaveTheFontAlone) {
    const FontSpec design{8, 0, "Sans"};
    for (const char* text : {"", "12", "12 1", "abc"}) {
        FontSpec font = design;
        StringToFont(font, text);
        EXPECT_EQ(font, design) << text;
    }
}

TEST(GridFont, NameKeepsItsBlanksAndRoundTrips) {
    FontSpec font{8, 0, "Sans"};
    StringToFont(font, "12 1 Arial Narrow");
    EXPECT_EQ(font, (FontSpec{12, 1, "Arial Narrow"}));
    EXPECT_EQ(FontToString(font), "12 1 Arial Narrow");
}

TEST(GridFont, BadNumbersRaiseAndApplyNothing) {
    const FontSpec design{8, 0, "Sans"};
    const std::pair<const char*, const char*> cases[] = {
        {"x 0 Sans Bold", "'x' is not a valid integer value"},
        {"10 b Sans", "'b' is not a valid integer value"},
        {"10 256 Sans", "'256' is not a valid font style"},
        {"0 0 Sans", "'0' is not a valid font size"},
        {"99999 0 Sans", "'99999' is not a valid font size"},
    };
    for (auto [text, message] : cases) {
        FontSpec font = design;
        try {
            StringToFont(font, text);
            ADD_FAILURE() << text << " accepted";
        } catch (const EKelvoError& e) {
            EXPECT_STREQ(e.what(), message);
        }
        EXPECT_EQ(font, design) << text;
    }
}

} // namespace
