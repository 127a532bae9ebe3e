// The panelled status bar.
#include "shell/qt/mainwindow/StatusBar.h"

#include "platform/qt/QtText.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLayout>

#include <algorithm>

namespace {

// The bar keeps this much free left of its message and between the message
// and the first panel, and leaves the size grip's corner out.
constexpr int MessageIndent = 6;
constexpr int MessageGap = 2;
constexpr int GripCorner = 12;

} // namespace

TStatusBar::TStatusBar(QWidget* parent) : QStatusBar(parent)
{
    connect(this, &QStatusBar::messageChanged, this, [this] { MakeRoomForMessage(); });
}

void TStatusBar::resizeEvent(QResizeEvent* event)
{
    QStatusBar::resizeEvent(event);
    MakeRoomForMessage();
}

int TStatusBar::MessageRoom() const
{
    int right = width() - GripCorner;
    for (const QLabel* panel : panels_)
        if (panel->isVisible()) {
            right = std::min(right, panel->x() - MessageGap);
            break;
        }
    return right - MessageIndent;
}

void TStatusBar::MakeRoomForMessage()
{
    for (QLabel* panel : panels_)
        panel->show();
    const QString message = currentMessage();
    if (message.isEmpty() || !isVisible())
        return;
    const int needed = fontMetrics().horizontalAdvance(message);
    for (auto panel = panels_.rbegin(); panel != panels_.rend(); ++panel) {
        layout()->invalidate();
        layout()->activate();
        if (needed <= MessageRoom())
            return;
        (*panel)->hide();
    }
}

void TStatusBar::AddPanel(const std::string& layoutText, Qt::Alignment alignment)
{
    auto* panel = new QLabel(vx::ToQString(layoutText), this);
    // File names and the machine's names go here, never markup.
    panel->setTextFormat(Qt::PlainText);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(alignment);
    panel->setMinimumWidth(panel->fontMetrics().horizontalAdvance(panel->text()) + 12);
    addPermanentWidget(panel);
    panels_.push_back(panel);
}

void TStatusBar::CopyPanels(const TStatusBar& other)
{
    for (const QLabel* panel : other.panels_) {
        AddPanel(vx::FromQString(panel->text()), panel->alignment());
        panels_.back()->setMinimumWidth(panel->minimumWidth());
    }
}

std::string TStatusBar::PanelText(int index) const
{
    return vx::FromQString(panels_.at(index)->text());
}

bool TStatusBar::SetPanelText(int index, const std::string& text)
{
    QLabel* panel = panels_.at(index);
    const QString value = vx::ToQString(text);
    if (panel->text() == value)
        return false;
    panel->setText(value);
    return true;
}
