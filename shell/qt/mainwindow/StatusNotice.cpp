// The status bar's lasting notice.
#include "shell/qt/mainwindow/StatusNotice.h"

#include "platform/qt/QtText.h"

TStatusNotice::TStatusNotice(QWidget* parent) : QLabel(parent)
{
    // Wrapped into what the bar's panels leave, at any width: the bar's
    // layout asks the label how high it is for the width it gets.
    setWordWrap(true);
    // A folder's name and the system's reason, never markup.
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Minimum);
    hide();
}

void TStatusNotice::Show(const std::string& text)
{
    QString shown = vx::ToQString(text);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    setText(shown);
    setVisible(!shown.isEmpty());
}
