// Key presses for the editor tests: to an editor through its key mapping, and
// to any widget as a Qt key event.
#pragma once

#include <QString>
#include <Qt>

class QWidget;
class TmwCustomEdit;

namespace vx::test {

// One key press sent to the editor widget.
void EditorKey(TmwCustomEdit& edit, int key, Qt::KeyboardModifiers modifiers = {}, const QString& text = {});
// Types each character of text in the editor, one key press each.
void EditorType(TmwCustomEdit& edit, const QString& text);
// One key press sent to a widget.
void WidgetKey(QWidget& widget, int key, Qt::KeyboardModifiers modifiers = {}, const QString& text = {});

} // namespace vx::test
