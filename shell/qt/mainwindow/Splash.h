// The splash window shown while the program starts: a picture, the step being
// done and a gauge.
#pragma once

#include <QWidget>

#include <string>

class QLabel;
class TFlatGauge;

class Tfrm_splash : public QWidget {
public:
    explicit Tfrm_splash(QWidget* parent = nullptr);

    // Moves the gauge on and, when label is not null, names the step; repaints at once.
    void Step(int progress, const char* label);

    QLabel* Image1;
    QLabel* Label1; // "Loading "
    QLabel* Label2; // the step
    TFlatGauge* Gauge1;
};
