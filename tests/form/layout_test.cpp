#include "form/layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vellmore::form {
namespace {

// The dialog manager tabs in creation order, and a reader names a field after what comes before.
TEST(Layout, TabsInTabIndexOrderWithEachLabelMadeJustBeforeTheControlItNames)
{
    std::vector<std::string> tabs;
    for (const Control id : tabOrder())
        tabs.push_back(definition(id).name);
    EXPECT_EQ(tabs, (std::vector<std::string>{"txtTelescopeFL", "txtEyepieceFL", "txtCameraFL",
                                              "txtTelescopeAp", "txtK", "txtISO", "Command1",
                                              "Combo1", "Command2", "Command3"}));
    const std::vector<Control> order = creationOrder();
    ASSERT_EQ(order.size(), size_t(controlCount));
    std::vector<Control> focusable;
    for (size_t i = 0; i < order.size(); ++i) {
        const ControlDef& def = definition(order[i]);
        if (def.names) {
            EXPECT_EQ(order.at(i + 1), *def.names) << def.name;
        }
        if (def.kind == Kind::TextBox || def.kind == Kind::Button || def.kind == Kind::Selector)
            focusable.push_back(def.id);
    }
    EXPECT_EQ(focusable, tabOrder());
}

TEST(Layout, TwipsBecomePixelsByTheScreensDpi)
{
    EXPECT_EQ(toPixels(definition(Control::Label4).twips, 96), (Rect{8, 96, 121, 17}));
    EXPECT_EQ(toPixels(clientWidthTwips, 144), 527) << "526.5 rounds up";
    EXPECT_EQ(toPixels(definition(Control::Combo1).twips, 120), (Rect{260, 150, 171, 26}));
    // A result reaches right to 8 pixels before Calculate in its row, or before the window's edge.
    EXPECT_EQ(toPixels(placeOf(definition(Control::lblFRatio)), 96), (Rect{120, 216, 96, 17}));
    EXPECT_EQ(toPixels(placeOf(definition(Control::lblExposure)), 96), (Rect{120, 232, 223, 17}));
    EXPECT_EQ(placeOf(definition(Control::Label4)), definition(Control::Label4).twips);
}

TEST(Layout, AWideCaptionGrowsItsBoxAwayFromItsAlignedEdge)
{
    const Rect box = {8, 96, 121, 17};
    // clang-format off
    const struct { Align align; int textWidth; Rect fitted; } cases[] = {
        // Never past the window's left or right edge.
        {Align::Right, 121, box}, {Align::Right, 126, {3, 96, 126, 17}}, {Align::Right, 140, {0, 96, 129, 17}},
        {Align::Left, 126, {8, 96, 126, 17}}, {Align::Left, 400, {8, 96, 343, 17}}, {Align::Centre, 126, {6, 96, 126, 17}},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(fitCaption(box, c.align, c.textWidth, 351), c.fitted)
            << static_cast<int>(c.align) << " " << c.textWidth;
    }
}

// A face `perSize` pixels wide per step of its size and two pixels taller than its size: where
// even the widest box is too narrow, or the box too low, the face shrinks step by step to the
// first size that fits, and to no less than half.
TEST(Layout, ACaptionTooWideForTheWindowGetsASmallerFace)
{
    const Rect box = {8, 96, 121, 17};
    const Rect widest = {0, 96, 129, 17};
    // clang-format off
    const struct { int size; int perSize; CaptionFit fit; } cases[] = {
        {11, 10, {box, 11}}, {11, 12, {box, 10}}, {11, 15, {box, 8}}, {11, 14, {{3, 96, 126, 17}, 9}},
        {20, 1, {box, 15}}, {11, 100, {widest, 6}},
    };
    // clang-format on
    for (const auto& c : cases) {
        const CaptionFit got = fitCaptionFace(box, Align::Right, 351, c.size, [&c](int size) {
            return Extent{size * c.perSize, size + 2};
        });
        EXPECT_EQ(got.box, c.fit.box) << c.size << " " << c.perSize;
        EXPECT_EQ(got.size, c.fit.size) << c.size << " " << c.perSize;
    }
}

} // namespace
} // namespace vellmore::form
