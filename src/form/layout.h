#pragma once

#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace vellmore::form {

// The window's 29 controls, in the order of the layout table.
enum class Control {
    Label1,
    txtTelescopeFL,
    Label2,
    txtEyepieceFL,
    Label3,
    txtCameraFL,
    Label4,
    txtTelescopeAp,
    Label5,
    txtK,
    Label6,
    txtISO,
    Label7,
    lblTelescopeMag,
    Label8,
    lblSystemFL,
    Label9,
    lblFRatio,
    Label10,
    lblExposure,
    Label11,
    lblOneDiv,
    Command2,
    Command3,
    Label12,
    Combo1,
    Command1,
    Label13,
    Label14,
};
constexpr int controlCount = 29;

// Label: static text, never focused. Link: a label that opens its address when clicked.
// Selector: an editable text part over an unsorted drop-down list.
enum class Kind { Label, Link, TextBox, Button, Selector };
enum class Align { Left, Right, Centre };

// A rectangle in twips (1/1440 inch) or pixels, from the client area's top left corner.
struct Rect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width; }
    bool operator==(const Rect& other) const
    {
        return left == other.left && top == other.top && width == other.width &&
               height == other.height;
    }
};

struct Font
{
    const char* family;
    double points;
    int weight; // 400 is normal
    bool underline;
};
// The three fonts of the layout below, told apart.
enum class FontRole { Window, Link, Field };

struct ControlDef
{
    Control id;
    const char* name; // the control's name in code and the toolkit's object name
    Kind kind;
    const char* text; // design-time text
    Rect twips;
    int tabIndex;
    Align align;
    bool blue; // pure blue text: red 0, green 0, blue 255
    FontRole font;
    // The control this label names for a screen reader: an input, the selector or a result.
    std::optional<Control> names = std::nullopt;
};

inline constexpr const char* windowCaption = "Vellmore";
inline constexpr int clientWidthTwips = 5265;
inline constexpr int clientHeightTwips = 5685;
inline constexpr int twipsPerInch = 1440;

// The page the equations come from; Label14 shows it and opens it when clicked.
inline constexpr const char* referenceAddress = "https://en.wikipedia.org/wiki/Afocal_photography";

// Labels and buttons use the window's font, the classic face the layout was drawn for, and
// Label14 the same underlined. The text boxes and the selector show what the user or the settings
// file wrote, in any script, so they use the face's TrueType twin, which has the letters of most
// scripts and, through Windows' font linking, the rest; the bitmap face has Western letters only.
inline constexpr Font windowFont = {"MS Sans Serif", 8.25, 400, false};
inline constexpr Font linkFont = {"MS Sans Serif", 8.25, 400, true};
inline constexpr Font fieldFont = {"Microsoft Sans Serif", 8.25, 400, false};

inline constexpr const Font& fontOf(FontRole role)
{
    return role == FontRole::Link ? linkFont : role == FontRole::Field ? fieldFont : windowFont;
}

// The six input text boxes in the order the calculation reads them, and the five result labels
// in the order it publishes them.
inline constexpr std::array<Control, 6> inputFields = {
    Control::txtTelescopeFL, Control::txtEyepieceFL, Control::txtCameraFL,
    Control::txtTelescopeAp, Control::txtK,          Control::txtISO,
};
inline constexpr std::array<Control, 5> resultLabels = {
    Control::lblTelescopeMag, Control::lblSystemFL, Control::lblFRatio,
    Control::lblExposure,     Control::lblOneDiv,
};

const std::array<ControlDef, controlCount>& controls();
const ControlDef& definition(Control id);

// The controls that take the keyboard focus, in tab-index order; the first has it at start.
std::vector<Control> tabOrder();

// The label that names `control`, if one does.
std::optional<Control> labelOf(Control control);

// All 29 controls in the order a front end creates them: the focusable ones in tab order, each
// label just before the control it names (screen readers name a field after the text before it
// in z-order), then the remaining labels.
std::vector<Control> creationOrder();

// Twips to pixels on a screen of `dpi` dots per inch, rounded to the nearest pixel.
int toPixels(int twips, int dpi);
Rect toPixels(const Rect& twips, int dpi);

// A label, link or button whose caption never changes after the window is made.
bool hasFixedCaption(const ControlDef& control);

// Where a control stands, in twips: its place in the table, except that a result reaches right as
// far as the next control in its row or near the window's edge, so that no longer result and no
// wider face cuts it. Its text starts where the table puts it.
Rect placeOf(const ControlDef& control);

// The box a fixed caption needs when the face the system really has is wider than the one the
// box was drawn for: the box keeps the edge its text is aligned to and grows away from it (both
// ways when centred), never past the client area. A caption that fits keeps its box.
Rect fitCaption(const Rect& box, Align align, int textWidth, int clientWidth);

// What a caption needs at one size of its face, in pixels: its width (with whatever its control
// draws around it) and its height.
struct Extent
{
    int width = 0;
    int height = 0;
};

// A fixed caption's box and the size of its face, in whatever unit the toolkit sizes faces.
struct CaptionFit
{
    Rect box;
    int size = 0;
};

// Fits a fixed caption at `size` in the face the system has: its box grows as fitCaption says;
// where even the widest box it may have is too narrow, or its box too low, the face gets smaller,
// one step at a time down to half its size, until the caption fits, so that no caption is cut or
// wrapped. `extentAt` measures the caption at a size.
CaptionFit fitCaptionFace(const Rect& box, Align align, int clientWidth, int size,
                          const std::function<Extent(int size)>& extentAt);

} // namespace vellmore::form
