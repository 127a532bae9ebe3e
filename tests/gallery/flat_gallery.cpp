// Developer program: builds a window holding one of each flat-look control,
// renders it offscreen and writes it to a PNG (first argument, default
// "flat_gallery.png").
#include "controls/common/SysColors.h"
#include "controls/flat/TFlatCheckBoxUnit.h"
#include "controls/flat/TFlatComboBoxUnit.h"
#include "controls/flat/TFlatEditUnit.h"
#include "controls/flat/TFlatGaugeUnit.h"
#include "controls/flat/TFlatHintUnit.h"
#include "controls/flat/TFlatMemoUnit.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstdlib>

namespace {

QImage ArrowGlyph()
{
    QImage glyph(16, 16, QImage::Format_RGB32);
    glyph.fill(Qt::magenta);
    QPainter p(&glyph);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 96, 160));
    const QPoint arrow[3] = {{3, 2}, {12, 8}, {3, 14}};
    p.drawPolygon(arrow, 3);
    return glyph;
}

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const char* out = argc > 1 ? argv[1] : "flat_gallery.png";

    QWidget window;
    window.resize(420, 250);
    QPalette pal = window.palette();
    pal.setColor(QPalette::Window, vx::ToQColor(clBtnFace));
    window.setPalette(pal);

    auto* edit = new TFlatEdit(&window);
    edit->setObjectName("Edit1");
    edit->move(10, 10);
    edit->SetColorFlat(clWhite);
    edit->SetText("index.asp");

    auto* focused = new TFlatEdit(&window);
    focused->setObjectName("Edit2");
    focused->move(140, 10);
    focused->SetText("focused");

    auto* combo = new TFlatComboBox(&window);
    combo->setObjectName("ComboBox1");
    combo->setGeometry(10, 40, 121, 21);
    combo->SetStyle(TComboBoxStyle::csDropDownList);
    combo->SetColorArrow(clNavy);
    for (const char* s : {"Windows-1252", "ISO-8859-1", "UTF-8"})
        combo->Items().Add(s);
    combo->SetItemIndex(0);

    auto* memo = new TFlatMemo(&window);
    memo->setObjectName("Memo1");
    memo->setGeometry(10, 70, 185, 89);
    memo->SetColorFlat(clWhite);
    memo->SetScrollBars(TScrollStyle::ssVertical);
    for (const char* s : {"<html>", "<head>", "<title>Gallery</title>", "</head>", "<body>", "</body>", "</html>"})
        memo->Lines().Add(s);

    auto* check = new TFlatCheckBox(&window);
    check->setObjectName("CheckBox1");
    check->move(210, 45);
    check->SetCaption("&Upper case tags");
    check->SetChecked(true);

    auto* unchecked = new TFlatCheckBox(&window);
    unchecked->setObjectName("CheckBox2");
    unchecked->move(210, 65);
    unchecked->SetCaption("Disabled choice");
    unchecked->SetChecked(true);
    unchecked->setEnabled(false);

    auto* button = new TFlatSpeedButton(&window);
    button->setObjectName("SpeedButton1");
    button->setGeometry(210, 90, 90, 25);
    button->SetCaption("&Publish");
    button->SetGlyph(ArrowGlyph());
    button->SetLayout(vx::TButtonLayout::blGlyphLeft);
    button->SetColorFocused(clSilver);
    button->SetColorBorder(clSilver);

    auto* latched = new TFlatSpeedButton(&window);
    latched->setObjectName("SpeedButton2");
    latched->setGeometry(305, 90, 90, 25);
    latched->SetCaption("Latched");
    latched->SetGroupIndex(1);
    latched->SetDown(true);

    auto* gauge = new TFlatGauge(&window);
    gauge->setObjectName("Gauge1");
    gauge->move(210, 130);
    gauge->SetBarColor(clGray);
    gauge->SetColor(clBtnFace);
    gauge->SetProgress(60);

    window.show();
    focused->setFocus();
    QApplication::setActiveWindow(&window);
    app.processEvents();

    QImage image(window.size(), QImage::Format_RGB32);
    window.render(&image);

    TFlatHintWindow hint;
    hint.ActivateHintAt(QPoint(10, 10), "Publishes the open files over FTP & keeps a log");
    QImage hintImage(hint.size(), QImage::Format_RGB32);
    hint.render(&hintImage);
    QPainter painter(&image);
    painter.drawImage(QPoint(10, window.height() - hintImage.height() - 10), hintImage);
    painter.end();

    if (!image.save(out, "PNG")) {
        std::fprintf(stderr, "Cannot write %s\n", out);
        return 1;
    }
    std::printf("%s\n", out);
    return 0;
}
