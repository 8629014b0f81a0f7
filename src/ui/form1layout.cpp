#include "ui/clickablelabel.h"
#include "ui/form1.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vellmore::ui {
namespace {

enum class Kind { Label, TextBox, Button, Combo, Link };

struct ControlDef
{
    const char* name;
    Kind kind;
    const char* text;
    // Design geometry in twips; the window shows 15 twips to a pixel.
    int left, top, width, height;
    Qt::Alignment align;
    bool blue;
};

constexpr int twipsPerPixel = 15;
constexpr Qt::Alignment left = Qt::AlignLeft;
constexpr Qt::Alignment right = Qt::AlignRight;
constexpr Qt::Alignment centre = Qt::AlignHCenter;

// Listed in tab-index order of the original form, which is also the creation order.
const ControlDef controls[] = {
    {"txtTelescopeFL", Kind::TextBox, "1420", 2040, 360, 975, 285, left, false},
    {"txtEyepieceFL", Kind::TextBox, "19", 2040, 720, 975, 285, left, false},
    {"txtCameraFL", Kind::TextBox, "50", 2040, 1080, 975, 285, left, false},
    {"txtTelescopeAp", Kind::TextBox, "220", 2040, 1440, 975, 285, left, false},
    {"txtK", Kind::TextBox, "40", 2040, 1800, 975, 285, left, false},
    {"txtISO", Kind::TextBox, "100", 2040, 2160, 975, 285, left, false},
    {"Label1", Kind::Label, "Telescope FL (mm):", 360, 360, 1575, 255, right, false},
    {"Label2", Kind::Label, "Eyepiece FL (mm):", 360, 720, 1575, 255, right, false},
    {"Label3", Kind::Label, "Camera FL (mm):", 360, 1080, 1575, 255, right, false},
    {"Label4", Kind::Label, "Telescope Aperture (mm):", 120, 1440, 1815, 255, right, false},
    {"Label5", Kind::Label, "K:", 720, 1800, 1215, 255, right, false},
    {"Label6", Kind::Label, "Film ISO:", 720, 2160, 1215, 255, right, false},
    {"Label7", Kind::Label, "Magnification:", 480, 2760, 1215, 255, right, false},
    {"Label8", Kind::Label, "System FL:", 480, 3000, 1215, 255, right, false},
    {"Label9", Kind::Label, "f Ratio:", 480, 3240, 1215, 255, right, false},
    {"Label10", Kind::Label, "Exposure:", 480, 3480, 1215, 255, right, false},
    {"lblTelescopeMag", Kind::Label, "0", 1800, 2760, 975, 255, left, true},
    {"lblSystemFL", Kind::Label, "0", 1800, 3000, 975, 255, left, true},
    {"lblFRatio", Kind::Label, "0", 1800, 3240, 975, 255, left, true},
    {"lblExposure", Kind::Label, "0", 1800, 3480, 975, 255, left, true},
    {"Command1", Kind::Button, "Calculate", 3360, 2760, 1335, 495, left, false},
    {"Label11", Kind::Label, "Or 1 /", 480, 3720, 1215, 255, right, false},
    {"lblOneDiv", Kind::Label, "0", 1800, 3720, 975, 255, left, false},
    {"Combo1", Kind::Combo, "Select Object", 3120, 1800, 2055, 315, left, false},
    {"Command2", Kind::Button, "ReLoad Settings", 3360, 240, 1335, 375, left, false},
    {"Command3", Kind::Button, "Edit Settings", 3360, 720, 1335, 375, left, false},
    {"Label12", Kind::Label, "Object", 3120, 1560, 1815, 255, centre, false},
    {"Label13", Kind::Label, "Based on equations found on this webpage:", 600, 5040, 3855, 255,
     centre, false},
    {"Label14", Kind::Link, nullptr, 600, 5280, 3855, 255, centre, true},
};

QFont classicFont(bool underline)
{
    // Where the classic Windows face is missing, the closest faces in width come first, so the
    // captions fit the boxes drawn for it.
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setPointSizeF(8.25);
    font.setWeight(QFont::Normal);
    font.setUnderline(underline);
    return font;
}

void paintBlue(QWidget* widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    widget->setPalette(palette);
}

QWidget* createControl(const ControlDef& def, QWidget* parent)
{
    const QString text = def.text ? QString::fromLatin1(def.text) : Form1::referenceAddress;
    QWidget* widget = nullptr;
    switch (def.kind) {
    case Kind::Label:
    case Kind::Link: {
        auto* label = def.kind == Kind::Link ? new ClickableLabel(parent) : new QLabel(parent);
        label->setText(text);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(def.align | Qt::AlignTop);
        if (def.kind == Kind::Link)
            label->setFont(classicFont(true));
        widget = label;
        break;
    }
    case Kind::TextBox: {
        auto* edit = new QLineEdit(text, parent);
        edit->setAlignment(def.align);
        widget = edit;
        break;
    }
    case Kind::Button: {
        auto* button = new QPushButton(text, parent);
        button->setAutoDefault(false);
        button->setDefault(false);
        widget = button;
        break;
    }
    case Kind::Combo: {
        auto* combo = new QComboBox(parent);
        combo->setEditable(true);
        // Setting editable installs an inline completer and an insert-on-Enter policy; the
        // selector lists only the file's objects, in file order.
        combo->setCompleter(nullptr);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setEditText(text);
        widget = combo;
        break;
    }
    }
    widget->setObjectName(QString::fromLatin1(def.name));
    widget->setGeometry(def.left / twipsPerPixel, def.top / twipsPerPixel,
                        def.width / twipsPerPixel, def.height / twipsPerPixel);
    if (def.blue)
        paintBlue(widget);
    return widget;
}

} // namespace

void Form1::createControls()
{
    setWindowTitle(QStringLiteral("Vellmore"));
    setFont(classicFont(false));
    setFixedSize(5265 / twipsPerPixel, 5685 / twipsPerPixel);

    for (const ControlDef& def : controls)
        createControl(def, this);

    txtTelescopeFL = findChild<QLineEdit*>(QStringLiteral("txtTelescopeFL"));
    txtEyepieceFL = findChild<QLineEdit*>(QStringLiteral("txtEyepieceFL"));
    txtCameraFL = findChild<QLineEdit*>(QStringLiteral("txtCameraFL"));
    txtTelescopeAp = findChild<QLineEdit*>(QStringLiteral("txtTelescopeAp"));
    txtK = findChild<QLineEdit*>(QStringLiteral("txtK"));
    txtISO = findChild<QLineEdit*>(QStringLiteral("txtISO"));
    lblTelescopeMag = findChild<QLabel*>(QStringLiteral("lblTelescopeMag"));
    lblSystemFL = findChild<QLabel*>(QStringLiteral("lblSystemFL"));
    lblFRatio = findChild<QLabel*>(QStringLiteral("lblFRatio"));
    lblExposure = findChild<QLabel*>(QStringLiteral("lblExposure"));
    lblOneDiv = findChild<QLabel*>(QStringLiteral("lblOneDiv"));
    Command1 = findChild<QPushButton*>(QStringLiteral("Command1"));
    Command2 = findChild<QPushButton*>(QStringLiteral("Command2"));
    Command3 = findChild<QPushButton*>(QStringLiteral("Command3"));
    Combo1 = findChild<QComboBox*>(QStringLiteral("Combo1"));
    Label14 = findChild<ClickableLabel*>(QStringLiteral("Label14"));

    QWidget* const tabOrder[] = {txtTelescopeFL, txtEyepieceFL, txtCameraFL, txtTelescopeAp,
                                 txtK,           txtISO,        Command1,    Combo1,
                                 Command2,       Command3};
    for (size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    txtTelescopeFL->setFocus();
}

} // namespace vellmore::ui
