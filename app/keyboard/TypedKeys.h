#pragma once
// Which keys open the keyboard wizard: a digit or a Latin letter typed with
// no Ctrl, Alt or Meta, into a widget that does not take text itself.

#include <QString>

class QKeyEvent;
class QWidget;

namespace orvane::app {

/// The text a key press starts the wizard with, or "" when it starts none.
QString wizardStartText(const QKeyEvent& event);

/// Whether a widget takes typed text itself (a line edit, an editable text
/// or combo box, a spin box): the keys typed there are its own.
bool takesTypedText(const QWidget* widget);

}  // namespace orvane::app
