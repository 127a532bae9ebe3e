#include "shell/qt/menu/ProgressWindow.h"

#include "localisation/RunTimeText.h"
#include "localisation/qt/KMLang.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>

#include <algorithm>

namespace {

const TRunTimeText CounterOf{"of"};

// A line number as the counter shows it: five digits at least.
QString CounterNumber(int number)
{
    return QStringLiteral("%1").arg(std::max(number, 0), 5, 10, QLatin1Char('0'));
}

} // namespace

Tfrm_progress::Tfrm_progress(QWidget* parent, int maximum) : QDialog(parent)
{
    setObjectName("frm_progress");
    setWindowTitle("Progress");
    auto* layout = new QGridLayout(this);
    Label1 = Named(new QLabel("Progress", this), "Label1");
    Label2 = Named(new QLabel("Scanning  line ", this), "Label2");
    Label3 = Named(new QLabel(this), "Label3");
    ProgressBar1 = Named(new QProgressBar(this), "ProgressBar1");
    ProgressBar1->setRange(0, std::max(0, maximum));
    ProgressBar1->setValue(0);
    layout->addWidget(Label1, 0, 0, 1, 2);
    layout->addWidget(ProgressBar1, 1, 0, 1, 2);
    layout->addWidget(Label2, 2, 0);
    layout->addWidget(Label3, 2, 1);
    // The counter's numbers are no text of a language: the window words it itself.
    TranslateWindow(this, [this] { ShowCounter(ProgressBar1->value()); })->SetLocalRules(MakeList({"-Label3"}));
}

void Tfrm_progress::Step(int line)
{
    ProgressBar1->setValue(std::min(line, ProgressBar1->maximum()));
    ShowCounter(line);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void Tfrm_progress::ShowCounter(int line)
{
    Label3->setText(CounterNumber(line) + ' ' + vx::ToQString(CounterOf()) + ' ' +
                    CounterNumber(ProgressBar1->maximum()));
}
