#pragma once

#include <string_view>

namespace vellmore::plan {

// How wide a chart's text is drawn, in the SVG's units: the advance widths of Helvetica and its
// metric twins (Arial, Liberation Sans), in thousandths of the font size, for printable ASCII;
// a two-byte UTF-8 letter as the widest of its range in those faces, so that a name in Latin,
// Greek or Cyrillic is never drawn wider than its box; a longer one as a whole em, the width of
// the wide scripts.
double textAdvance(std::string_view text, double size, bool bold);

enum class Anchor { Start, Middle, End };

// The box a text covers around its baseline point, with the 1.5-unit halo the chart draws
// around labels.
struct TextBox
{
    double left = 0, top = 0, right = 0, bottom = 0;

    bool overlaps(const TextBox& other) const
    {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
};

TextBox textBox(double x, double y, std::string_view text, double size, bool bold, Anchor anchor);

} // namespace vellmore::plan
