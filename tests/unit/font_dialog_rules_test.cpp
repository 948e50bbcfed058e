#include "dialogs/font_dialog_rules.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace lt {
namespace {

TEST(FontDialogRules, SizesRoundHalfToEven)
{
    struct Row {
        int tenths, points;
    };
    const std::vector<Row> back = {{105, 10}, {115, 12}, {100, 10}, {104, 10}, {106, 11}, {0, 0}};
    for (std::size_t i = 0; i < back.size(); ++i)
        EXPECT_EQ(PointsFromTenths(back[i].tenths), back[i].points) << "row " << i + 1 << ": " << back[i].tenths;

    struct Height {
        int points, dpi, pixels;
    };
    // 9 pt at 96 dpi is exactly 12; 10 pt 13.33 -> 13; 3 pt at 60 dpi 2.5 -> 2.
    const std::vector<Height> heights = {{9, 96, 12}, {10, 96, 13}, {11, 120, 18}, {3, 60, 2}, {9, 60, 8}};
    for (std::size_t i = 0; i < heights.size(); ++i)
        EXPECT_EQ(FontHeightForPoints(heights[i].points, heights[i].dpi), heights[i].pixels) << "row " << i + 1;

    EXPECT_FALSE(IsBoldWeight(600));
    EXPECT_TRUE(IsBoldWeight(700));
}

TEST(FontDialogRules, FaceNameFieldAlwaysEndsInNul)
{
    struct Row {
        std::string name, kept;
    };
    const std::string longAscii(40, 'a');
    const std::string japanese = "ＭＳ Ｐ明朝";
    const std::string wide16 = "あいうえおかきくけこさしすせそた"; // 16 characters, 32 bytes
    const std::vector<Row> rows = {
        {"", ""},
        {japanese, japanese},
        {longAscii, std::string(31, 'a')},
        {wide16, wide16.substr(0, 30)}, // the 16th would leave no room for the NUL
        {"a" + wide16, "a" + wide16.substr(0, 30)},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto field = FaceNameField(rows[i].name);
        const std::string got(field.data(), field.size());
        EXPECT_EQ(got, rows[i].kept + std::string(FaceNameSize - rows[i].kept.size(), '\0')) << "row " << i + 1;
    }
}

} // namespace
} // namespace lt
