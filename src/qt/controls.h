#pragma once

#include "form/layout.h"

#include <QFont>

class QWidget;

namespace vellmore::qt {

// A layout font in Qt terms; where the classic face is missing, the closest faces in
// width stand in for it.
QFont qtFont(const form::Font& font);

// Creates one control from its layout entry, at its pixel place (grown where the face the
// system really has needs more room for a fixed caption), in `face`, its role's font: the
// parent's own for the window's role.
QWidget* createControl(const form::ControlDef& def, QWidget* parent, const QFont& face);

} // namespace vellmore::qt
