#include "base/cell_grid.h"
#include "base/changed_text_stretch.h"
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

namespace {
// Figures 10 wide, a space and letters 5, as in a font with tabular figures.
QList<double> Advances(const QString& text) {
    QList<double> advances;
    for (const QChar c : text)
        advances.append(c.isDigit() ? 10 : 5);
    return advances;
}
std::optional<TextStretch> Stretch(const QString& before, const QString& after,
                                   LineAlignment alignment, double boxWidth = 200) {
    return ChangedTextStretch(before, Advances(before), after, Advances(after), alignment,
                              boxWidth);
}
void ExpectStretch(const std::optional<TextStretch>& stretch, double from, double to) {
    ASSERT_TRUE(stretch.has_value());
    EXPECT_DOUBLE_EQ(stretch->from, from);
    EXPECT_DOUBLE_EQ(stretch->to, to);
}
} // namespace

TEST(ChangedTextStretch, CoversTheCharactersDrawnElsewhereOrDifferently) {
    EXPECT_FALSE(
        Stretch(QStringLiteral("00:01:59"), QStringLiteral("00:01:59"), LineAlignment::Left));
    // "00:0" stays: the rest changes ("00:0" is 10+10+5+10).
    ExpectStretch(
        Stretch(QStringLiteral("00:01:59"), QStringLiteral("00:02:00"), LineAlignment::Left), 35,
        70);
    // Right-aligned, same width: only the middle figures; the unit stays where it was.
    ExpectStretch(
        Stretch(QStringLiteral("12,35 F"), QStringLiteral("12,40 F"), LineAlignment::Right, 100),
        100 - 55 + 25, 100 - 10);
    // Right-aligned, one figure more: the figures moved, not the unit.
    ExpectStretch(
        Stretch(QStringLiteral("9,99 F"), QStringLiteral("10,00 F"), LineAlignment::Right, 100),
        100 - 55, 100 - 10);
    // Left-aligned, one figure more: the unit moved, from the first new figure to its end.
    ExpectStretch(
        Stretch(QStringLiteral("999 octets"), QStringLiteral("1000 octets"), LineAlignment::Left),
        0, 75);
    // Centred, a narrower text: all of both.
    ExpectStretch(
        Stretch(QStringLiteral("12 Ko"), QStringLiteral("1 Ko"), LineAlignment::Centre, 100),
        (100 - 35) / 2.0, (100 + 35) / 2.0);
    // Emptied: where the old text was.
    ExpectStretch(Stretch(QStringLiteral("192.0.2.1"), QString(), LineAlignment::Left), 0, 75);
}
