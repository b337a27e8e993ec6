#include "keyboard/TypedKeys.h"

#include <QKeyEvent>
#include <QWidget>

namespace orvane::app {

QString wizardStartText(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return {};
    const QString text = event.text();
    if (text.size() != 1) return {};
    const char16_t c = text.front().unicode();
    const bool digit = c >= u'0' && c <= u'9';
    const bool latin = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    return digit || latin ? text : QString();
}

bool takesTypedText(const QWidget* widget) {
    // Every widget that edits text asks for the input method; read-only
    // text views and the rest do not.
    return widget && widget->testAttribute(Qt::WA_InputMethodEnabled);
}

}  // namespace orvane::app
