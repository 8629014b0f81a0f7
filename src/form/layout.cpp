#include "form/layout.h"

#include <algorithm>

namespace vellmore::form {
namespace {

using C = Control;
using K = Kind;
constexpr Align L = Align::Left;
constexpr Align R = Align::Right;
constexpr Align M = Align::Centre;
constexpr FontRole W = FontRole::Window;
constexpr FontRole F = FontRole::Field;

// clang-format off
constexpr std::array<ControlDef, controlCount> table = {{
    {C::Label1, "Label1", K::Label, "Telescope FL (mm):", {360, 360, 1575, 255}, 6, R, false, W, C::txtTelescopeFL},
    {C::txtTelescopeFL, "txtTelescopeFL", K::TextBox, "1420", {2040, 360, 975, 285}, 0, L, false, F},
    {C::Label2, "Label2", K::Label, "Eyepiece FL (mm):", {360, 720, 1575, 255}, 7, R, false, W, C::txtEyepieceFL},
    {C::txtEyepieceFL, "txtEyepieceFL", K::TextBox, "19", {2040, 720, 975, 285}, 1, L, false, F},
    {C::Label3, "Label3", K::Label, "Camera FL (mm):", {360, 1080, 1575, 255}, 8, R, false, W, C::txtCameraFL},
    {C::txtCameraFL, "txtCameraFL", K::TextBox, "50", {2040, 1080, 975, 285}, 2, L, false, F},
    {C::Label4, "Label4", K::Label, "Telescope Aperture (mm):", {120, 1440, 1815, 255}, 9, R, false, W, C::txtTelescopeAp},
    {C::txtTelescopeAp, "txtTelescopeAp", K::TextBox, "220", {2040, 1440, 975, 285}, 3, L, false, F},
    {C::Label5, "Label5", K::Label, "K:", {720, 1800, 1215, 255}, 10, R, false, W, C::txtK},
    {C::txtK, "txtK", K::TextBox, "40", {2040, 1800, 975, 285}, 4, L, false, F},
    {C::Label6, "Label6", K::Label, "Film ISO:", {720, 2160, 1215, 255}, 11, R, false, W, C::txtISO},
    {C::txtISO, "txtISO", K::TextBox, "100", {2040, 2160, 975, 285}, 5, L, false, F},
    {C::Label7, "Label7", K::Label, "Magnification:", {480, 2760, 1215, 255}, 12, R, false, W, C::lblTelescopeMag},
    {C::lblTelescopeMag, "lblTelescopeMag", K::Label, "0", {1800, 2760, 975, 255}, 16, L, true, W},
    {C::Label8, "Label8", K::Label, "System FL:", {480, 3000, 1215, 255}, 13, R, false, W, C::lblSystemFL},
    {C::lblSystemFL, "lblSystemFL", K::Label, "0", {1800, 3000, 975, 255}, 17, L, true, W},
    {C::Label9, "Label9", K::Label, "f Ratio:", {480, 3240, 1215, 255}, 14, R, false, W, C::lblFRatio},
    {C::lblFRatio, "lblFRatio", K::Label, "0", {1800, 3240, 975, 255}, 18, L, true, W},
    {C::Label10, "Label10", K::Label, "Exposure:", {480, 3480, 1215, 255}, 15, R, false, W, C::lblExposure},
    {C::lblExposure, "lblExposure", K::Label, "0", {1800, 3480, 975, 255}, 19, L, true, W},
    {C::Label11, "Label11", K::Label, "Or 1 /", {480, 3720, 1215, 255}, 21, R, false, W, C::lblOneDiv},
    {C::lblOneDiv, "lblOneDiv", K::Label, "0", {1800, 3720, 975, 255}, 22, L, false, W},
    {C::Command2, "Command2", K::Button, "ReLoad Settings", {3360, 240, 1335, 375}, 24, M, false, W},
    {C::Command3, "Command3", K::Button, "Edit Settings", {3360, 720, 1335, 375}, 25, M, false, W},
    {C::Label12, "Label12", K::Label, "Object", {3120, 1560, 1815, 255}, 26, M, false, W, C::Combo1},
    {C::Combo1, "Combo1", K::Selector, "Select Object", {3120, 1800, 2055, 315}, 23, L, false, F},
    {C::Command1, "Command1", K::Button, "Calculate", {3360, 2760, 1335, 495}, 20, M, false, W},
    {C::Label13, "Label13", K::Label, "Based on equations found on this webpage:", {600, 5040, 3855, 255}, 27, M, false, W},
    {C::Label14, "Label14", K::Link, referenceAddress, {600, 5280, 3855, 255}, 28, M, true, FontRole::Link},
}};
// clang-format on

bool takesFocus(Kind kind)
{
    return kind == Kind::TextBox || kind == Kind::Button || kind == Kind::Selector;
}

} // namespace

const std::array<ControlDef, controlCount>& controls()
{
    return table;
}

const ControlDef& definition(Control id)
{
    return table[static_cast<size_t>(id)];
}

std::vector<Control> tabOrder()
{
    std::vector<const ControlDef*> focusable;
    for (const ControlDef& control : table) {
        if (takesFocus(control.kind))
            focusable.push_back(&control);
    }
    std::sort(focusable.begin(), focusable.end(),
              [](const ControlDef* a, const ControlDef* b) { return a->tabIndex < b->tabIndex; });
    std::vector<Control> order;
    for (const ControlDef* control : focusable)
        order.push_back(control->id);
    return order;
}

std::optional<Control> labelOf(Control control)
{
    for (const ControlDef& def : table) {
        if (def.names == control)
            return def.id;
    }
    return std::nullopt;
}

std::vector<Control> creationOrder()
{
    std::vector<Control> order;
    auto add = [&order](Control id) {
        const auto made = [&order](Control c) {
            return std::find(order.begin(), order.end(), c) != order.end();
        };
        const std::optional<Control> label = labelOf(id);
        if (label && !made(*label))
            order.push_back(*label);
        if (!made(id))
            order.push_back(id);
    };
    for (const Control id : tabOrder())
        add(id);
    for (const ControlDef& def : table)
        add(def.id);
    return order;
}

bool hasFixedCaption(const ControlDef& control)
{
    if (control.kind != Kind::Label && control.kind != Kind::Link && control.kind != Kind::Button)
        return false;
    return std::find(resultLabels.begin(), resultLabels.end(), control.id) == resultLabels.end();
}

Rect placeOf(const ControlDef& control)
{
    if (control.kind != Kind::Label || hasFixedCaption(control))
        return control.twips;
    constexpr int margin = 120; // twips: the gap kept to the next control or the window's edge
    const Rect& place = control.twips;
    int right = clientWidthTwips;
    for (const ControlDef& other : table) {
        const Rect& at = other.twips;
        const bool sameRow = at.top < place.top + place.height && place.top < at.top + at.height;
        if (sameRow && at.left >= place.right())
            right = std::min(right, at.left);
    }
    return {place.left, place.top, std::max(place.width, right - margin - place.left),
            place.height};
}

int toPixels(int twips, int dpi)
{
    const long long scaled = static_cast<long long>(twips) * dpi;
    return static_cast<int>((scaled + twipsPerInch / 2) / twipsPerInch);
}

Rect toPixels(const Rect& twips, int dpi)
{
    return {toPixels(twips.left, dpi), toPixels(twips.top, dpi), toPixels(twips.width, dpi),
            toPixels(twips.height, dpi)};
}

Rect fitCaption(const Rect& box, Align align, int textWidth, int clientWidth)
{
    if (textWidth <= box.width)
        return box;
    const int grow = textWidth - box.width;
    int left = box.left;
    int right = box.right();
    switch (align) {
    case Align::Left:
        right += grow;
        break;
    case Align::Right:
        left -= grow;
        break;
    case Align::Centre:
        left -= grow / 2;
        right += grow - grow / 2;
        break;
    }
    left = std::max(left, 0);
    right = std::min(right, std::max(clientWidth, box.right()));
    return {left, box.top, right - left, box.height};
}

CaptionFit fitCaptionFace(const Rect& box, Align align, int clientWidth, int size,
                          const std::function<Extent(int size)>& extentAt)
{
    // Wider than any window, so the box grows as far as it may.
    const Rect widest = fitCaption(box, align, 2 * std::max(clientWidth, box.right()), clientWidth);
    const int smallest = (size + 1) / 2;
    Extent extent = extentAt(size);
    while ((extent.width > widest.width || extent.height > box.height) && size > smallest)
        extent = extentAt(--size);
    return {fitCaption(box, align, extent.width, clientWidth), size};
}

} // namespace vellmore::form
