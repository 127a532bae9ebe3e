// The splash window.
#include "shell/qt/mainwindow/Splash.h"

#include "controls/flat/TFlatGaugeUnit.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

Tfrm_splash::Tfrm_splash(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName("frm_splash");
    setStyleSheet("Tfrm_splash { background: white; border: 1px solid #000080; }");
    setAttribute(Qt::WA_StyledBackground);
    auto* layout = new QVBoxLayout(this);
    Image1 = new QLabel("Vellumix", this);
    Image1->setObjectName("Image1");
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setMinimumSize(360, 120);
    Image1->setStyleSheet("color: white; font-size: 32pt; font-weight: bold;"
                          "background: qlineargradient(x1:0, y1:0, x2:1, y2:1, stop:0 #000080, stop:1 #3c6ec8);");
    auto* labels = new QHBoxLayout;
    Label1 = new QLabel("Loading ", this);
    Label1->setObjectName("Label1");
    Label2 = new QLabel("Main components", this);
    Label2->setObjectName("Label2");
    labels->addWidget(Label1);
    labels->addWidget(Label2, 1);
    Gauge1 = new TFlatGauge(this);
    Gauge1->setObjectName("Gauge1");
    Gauge1->setMinimumHeight(16);
    layout->addWidget(Image1);
    layout->addLayout(labels);
    layout->addWidget(Gauge1);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void Tfrm_splash::Step(int progress, const char* label)
{
    Gauge1->SetProgress(progress);
    if (label)
        Label2->setText(label);
    repaint();
}
