#include "plan/svgtext.h"

namespace vellmore::plan {
namespace {

// Helvetica's advance widths from the space to the tilde, regular and bold.
constexpr short regular[95] = {
    278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333,  278, 278, 556, 556, 556,
    556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556, 1015, 667, 667, 722, 722, 667,
    611, 778, 722, 278, 500, 667, 556, 833, 722, 778, 667, 778, 722, 667,  611, 722, 667, 944, 667,
    667, 611, 278, 278, 278, 469, 556, 333, 556, 556, 500, 556, 556, 278,  556, 556, 222, 222, 500,
    222, 833, 556, 556, 556, 556, 333, 500, 278, 556, 500, 722, 500, 500,  500, 334, 260, 334, 584};
constexpr short bold[95] = {
    278, 333, 474, 556, 556, 889, 722, 238, 333, 333, 389, 584, 278, 333, 278, 278, 556, 556, 556,
    556, 556, 556, 556, 556, 556, 556, 333, 333, 584, 584, 584, 611, 975, 722, 722, 722, 722, 667,
    611, 778, 722, 278, 556, 722, 611, 833, 722, 778, 667, 778, 722, 667, 611, 722, 667, 944, 667,
    667, 611, 333, 278, 333, 584, 556, 333, 556, 611, 556, 611, 556, 333, 611, 611, 278, 278, 556,
    278, 889, 611, 611, 611, 611, 389, 556, 333, 611, 556, 778, 556, 556, 500, 389, 280, 389, 584};

constexpr double halo = 1.5;

// The widest letter of a two-byte range, regular or bold, in Liberation Sans or the DejaVu Sans
// a browser draws the rest in: Latin-1 and Latin Extended-A to Æ and Œ, Greek and Cyrillic to
// Љ; the rest (Ǆ, historic Cyrillic, Armenian, Hebrew, Arabic ...) to Ѡ.
unsigned twoByteWidth(unsigned codePoint)
{
    return codePoint < 0x180 ? 1000 : codePoint >= 0x370 && codePoint < 0x460 ? 1100 : 1340;
}

} // namespace

double textAdvance(std::string_view text, double size, bool isBold)
{
    double units = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x20 && byte < 0x7F) {
            units += (isBold ? bold : regular)[byte - 0x20];
        } else if (byte >= 0xC0 && byte < 0xE0) {
            const unsigned next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
            units += twoByteWidth(((byte & 0x1Fu) << 6) | (next & 0x3Fu));
        } else if (byte >= 0xE0) {
            units += 1000; // three or four bytes: the wide scripts
        }
    }
    return units * size / 1000;
}

TextBox textBox(double x, double y, std::string_view text, double size, bool isBold, Anchor anchor)
{
    const double width = textAdvance(text, size, isBold);
    const double start = anchor == Anchor::Start    ? x
                         : anchor == Anchor::Middle ? x - width / 2
                                                    : x - width;
    // Ascent and descent of the face, about 0.93 and 0.22 of the size with accents and tails.
    return {start - halo, y - 0.93 * size - halo, start + width + halo, y + 0.22 * size + halo};
}

} // namespace vellmore::plan
