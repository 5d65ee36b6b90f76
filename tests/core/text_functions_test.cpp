#include "base/cell_grid.h"
#include "base/text_functions.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

TEST(DurationText, PadsEachPartAndLetsHoursGrow) {
    EXPECT_EQ(DurationText(0), "00:00:00");
    EXPECT_EQ(DurationText(59), "00:00:59");
    EXPECT_EQ(DurationText(3599), "00:59:59");
    EXPECT_EQ(DurationText(3600), "01:00:00");
    EXPECT_EQ(DurationText(360000), "100:00:00");
}

TEST(DurationSeconds, ReadsHoursMinutesSecondsAndRejectsGarbage) {
    EXPECT_EQ(DurationSeconds("01:02:03"), 3723);
    EXPECT_EQ(DurationSeconds("100:00:00"), 360000);
    EXPECT_FALSE(DurationSeconds("01:02").has_value());
    EXPECT_FALSE(DurationSeconds("a:02:03").has_value());
    EXPECT_FALSE(DurationSeconds("").has_value());
    // A damaged cell too large for any count of seconds does not read (and does not wrap).
    EXPECT_FALSE(DurationSeconds("9223372036854775807:00:00").has_value());
    EXPECT_FALSE(DurationSeconds("00:9223372036854775807:00").has_value());
    EXPECT_FALSE(DurationSeconds("2562047788015215:31:00").has_value());
    // A cell's UTF-8 text reads as its QString does, the written form read in place.
    for (const char* text :
         {"01:02:03", "100:00:00", "123456789:59:59", " 01:02:03", "01:2:03", ":02:03", "01:02", "",
          "\xEF\xBB\xBF"
          "01:02:03",
          "2562047788015215:31:00"})
        EXPECT_EQ(Utf8DurationSeconds(text), DurationSeconds(Utf8CellText(text))) << text;
}

TEST(ByteSizeText, ChoosesTheUnitAndUsesTheDecimalComma) {
    EXPECT_EQ(ByteSizeText(0), "0 octets");
    EXPECT_EQ(ByteSizeText(1023), "1023 octets");
    EXPECT_EQ(ByteSizeText(1024), "1,00 Ko");
    EXPECT_EQ(ByteSizeText(1536), "1,50 Ko");
    EXPECT_EQ(ByteSizeText(1048576), "1,00 Mo");
    EXPECT_EQ(ByteSizeText(1073741824), "1,00 Go");
}
