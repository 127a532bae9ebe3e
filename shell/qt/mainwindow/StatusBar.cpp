// The panelled status bar.
#include "shell/qt/mainwindow/StatusBar.h"

#include "platform/qt/QtText.h"

#include <QFontMetrics>
#include <QLabel>

TStatusBar::TStatusBar(QWidget* parent) : QStatusBar(parent) {}

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
