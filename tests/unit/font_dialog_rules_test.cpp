#include "dialogs/font_dialog_rules.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace lt {
namespace {

TEST(FontDialogRules, RoundingAndFaceNames)
{
    // Tenths of a point back to whole points, halves to even.
    EXPECT_EQ(PointsFromTenths(105), 10);
    EXPECT_EQ(PointsFromTenths(115), 12);
    EXPECT_EQ(FontHeightForPoints(10, 96), 13); // 13.33
    EXPECT_EQ(FontHeightForPoints(3, 60), 2);   // 2.5 to even
    EXPECT_FALSE(IsBoldWeight(600));

    // The field always keeps a NUL and never ends inside a double-byte character.
    const std::string wide16 = "あいうえおかきくけこさしすせそた"; // 32 bytes
    const std::string odd = std::string("a").append(wide16), oddKept = std::string("a").append(wide16, 0, 30);
    const std::vector<std::pair<std::string, std::string>> names = {
        {"ＭＳ Ｐ明朝", "ＭＳ Ｐ明朝"}, {std::string(40, 'a'), std::string(31, 'a')},
        {wide16, wide16.substr(0, 30)}, {odd, oddKept}};
    for (const auto& [name, kept] : names) {
        const auto field = FaceNameField(name);
        EXPECT_EQ(std::string(field.data(), field.size()), kept + std::string(FaceNameSize - kept.size(), '\0'));
    }
}

} // namespace
} // namespace lt
