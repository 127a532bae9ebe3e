// The assistant's window.
#include "shell/ProfHelp.h"

#include "controls/flat/TFlatMemoUnit.h"
#include "platform/qt/Dialogs.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

Tfrm_profhelp* frm_profhelp = nullptr;

namespace {

QLabel* NamedPicture(const char* name, const QColor& color, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    QPixmap picture(32, 32);
    picture.fill(color);
    label->setPixmap(picture);
    return label;
}

} // namespace

Tfrm_profhelp::Tfrm_profhelp(QWidget* parent) : TShellDialog("frm_profhelp", "Assistance", parent)
{
    // Owned by the main window, it stays above that window as its dialogs do,
    // and modal dialogs and message boxes come above it.
    setStyleSheet("Tfrm_profhelp { background: silver; }");
    auto* grid = new QGridLayout(this);
    auto* drag = new QLabel("Click here to drag assistant", this);
    drag->setObjectName("Label1");
    drag->setAlignment(Qt::AlignRight);
    drag->setStyleSheet("color: yellow;");
    Memo1 = new TFlatMemo(this);
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    Memo1->setStyleSheet("color: navy;");
    for (const char* line : {"Welcome to Vellumix", "", "I'll be your support person during our ",
                             "'workout' Im here to help and assist, ", "i'll  tell you handy tips and hints to ",
                             "guide you  through the creation of ", "your  Active Server Pages."})
        Memo1->Lines().Add(line);
    Image1 = NamedPicture("Image1", QColor(0, 0, 128), this);
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->setToolTip("Double click me to see the credits screen");
    Image2 = NamedPicture("Image2", QColor(255, 255, 0), this);
    Image3 = NamedPicture("Image3", QColor(0, 128, 0), this);
    Image2->hide();
    Button1 = AddButton("Button1", "&No");
    Button2 = AddButton("Button2", "&Yes");
    Button1->hide();
    Button2->hide();
    Edit1 = new QLineEdit("Did you know that, ", this);
    Edit1->setObjectName("Edit1");
    Edit1->hide();
    grid->addWidget(drag, 0, 0, 1, 3);
    grid->addWidget(Memo1, 1, 0, 1, 3);
    grid->addWidget(Image1, 2, 0);
    grid->addWidget(Image2, 2, 1);
    grid->addWidget(Image3, 2, 2);
    grid->addWidget(Button1, 3, 1);
    grid->addWidget(Button2, 3, 2);
    connect(Button1, &QPushButton::clicked, this, [this] {
        Button1->hide();
        Button2->hide();
        done(mrCancel);
    });
    connect(Button2, &QPushButton::clicked, this, [this] { done(mrOk); });
    Loaded();
}
