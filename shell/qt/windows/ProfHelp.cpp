// The assistant's window.
#include "shell/qt/windows/ProfHelp.h"

#include "controls/flat/TFlatMemoUnit.h"
#include "platform/qt/Application.h"
#include "platform/qt/Dialogs.h"
#include "shell/qt/windows/About.h"

#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegion>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>

Tfrm_profhelp* frm_profhelp = nullptr;

namespace {

QLabel* NamedPicture(const char* name, int size, const QColor& color, const char* sign, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    QPixmap picture(size, size);
    picture.fill(QColor(192, 192, 192));
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(color);
    p.setPen(Qt::black);
    p.drawEllipse(picture.rect().adjusted(1, 1, -2, -2));
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(size / 2);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(picture.rect(), Qt::AlignCenter, sign);
    p.end();
    label->setPixmap(picture);
    return label;
}

// Where the main window's status bars begin, in screen pixels: the top of the
// highest of them. A bar on a page not shown now lies at the foot of its page,
// where the page shown now ends.
int TopOfStatusBars(const QWidget& main)
{
    int top = main.mapToGlobal(QPoint(0, main.height())).y();
    for (const QStatusBar* bar : main.findChildren<QStatusBar*>()) {
        if (bar->window() != &main)
            continue;
        const QWidget* shown = bar;
        while (shown != &main && !shown->isVisible())
            shown = shown->parentWidget();
        const int foot = shown->mapToGlobal(QPoint(0, shown->height())).y();
        top = std::min(top, shown == bar ? bar->mapToGlobal(QPoint(0, 0)).y() : foot - bar->sizeHint().height());
    }
    return top;
}

} // namespace

Tfrm_profhelp::Tfrm_profhelp(QWidget* parent) : TShellDialog("frm_profhelp", "Assistance", parent)
{
    // Owned by the main window, it stays above that window as its dialogs do,
    // and modal dialogs and message boxes come above it.
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setStyleSheet("Tfrm_profhelp { background: silver; }");
    auto* grid = new QGridLayout(this);
    Label1 = Named(new QLabel("Click here to drag assistant", this), "Label1");
    Label1->setAlignment(Qt::AlignRight);
    Label1->setStyleSheet("color: yellow; background: navy;");
    Shape1 = Named(new QFrame(this), "Shape1");
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setStyleSheet("QFrame#Shape1 { background: white; }");
    Memo1 = Named(new TFlatMemo(Shape1), "Memo1");
    Memo1->setReadOnly(true);
    Memo1->setStyleSheet("color: navy;");
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The welcome is one paragraph the balloon wraps at its width, in every language.
    Memo1->Lines().Assign(MakeList({"Welcome to Vellumix", "",
                                    "I'll be your support person during our 'workout' Im here to help and assist, "
                                    "i'll  tell you handy tips and hints to guide you  through the creation of "
                                    "your  Active Server Pages."}));
    auto* balloon = new QVBoxLayout(Shape1);
    balloon->setContentsMargins(4, 4, 4, 4);
    balloon->addWidget(Memo1);
    Image1 = NamedPicture("Image1", 64, QColor(0, 0, 128), "?", this);
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->setToolTip("Double click me to see the credits screen");
    Image2 = NamedPicture("Image2", 32, QColor(200, 160, 0), "!", this);
    Image3 = NamedPicture("Image3", 32, QColor(0, 128, 0), "i", this);
    Image2->hide();
    Button1 = AddButton("Button1", "&No");
    Button2 = AddButton("Button2", "&Yes");
    Button1->hide();
    Button2->hide();
    Edit1 = Named(new QLineEdit("Did you know that, ", this), "Edit1");
    Edit1->hide();
    grid->addWidget(Label1, 0, 0, 1, 5);
    grid->addWidget(Shape1, 1, 0, 1, 5);
    grid->addWidget(Image1, 2, 0, 2, 1);
    grid->addWidget(Image2, 2, 1);
    grid->addWidget(Image3, 2, 2);
    grid->addWidget(Button1, 3, 3);
    grid->addWidget(Button2, 3, 4);
    grid->setRowStretch(1, 1);
    resize(300, 260);
    connect(Button1, &QPushButton::clicked, this, [this] {
        Button1->hide();
        Button2->hide();
        done(mrCancel);
    });
    connect(Button2, &QPushButton::clicked, this, [this] { done(mrOk); });
    BuildPopupMenu();
    // Shown, hidden, moved or resized, a control changes the window's shape.
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        child->installEventFilter(this);
    Loaded();
}

void Tfrm_profhelp::BuildPopupMenu()
{
    PopupMenu1 = Named(new QMenu(this), "PopupMenu1");
    const auto add = [this](const char* name, const char* caption, auto command) {
        QAction* action = PopupMenu1->addAction(caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, Guarded(command));
    };
    add("Moveassistanttolowerright1", "Move assistant to lower right", [this] { MoveToLowerRight(); });
    add("Moveassistanttoupperleft1", "Move assistant to upper left", [this] { MoveToUpperLeft(); });
    add("Increasefontsize1", "Increase fontsize", [this] { ChangeFontSize(1); });
    add("Decreasefontsize1", "Decrease fontsize", [this] { ChangeFontSize(-1); });
    add("Closeassistant1", "Close assistant", [this] { close(); });
    for (QWidget* target : {static_cast<QWidget*>(this), static_cast<QWidget*>(Image1), static_cast<QWidget*>(Memo1)}) {
        target->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(target, &QWidget::customContextMenuRequested, this,
                [this, target](const QPoint& pos) { PopupMenu1->popup(target->mapToGlobal(pos)); });
    }
}

void Tfrm_profhelp::FormActivate()
{
    MoveToLowerRight();
    RebuildShape();
}

void Tfrm_profhelp::MoveToLowerRight()
{
    const QWidget* main = parentWidget();
    if (!main)
        return;
    // Over the lower right of the documents, clear of the status bars the user reads.
    const QRect area = main->frameGeometry();
    move(area.x() + area.width() - width() - 10, TopOfStatusBars(*main) - height() - 5);
}

void Tfrm_profhelp::MoveToUpperLeft()
{
    move(20, 20);
}

void Tfrm_profhelp::ChangeFontSize(int delta)
{
    QFont font = Memo1->font();
    font.setPointSize(std::max(1, font.pointSize() + delta));
    Memo1->setFont(font);
}

void Tfrm_profhelp::RebuildShape()
{
    QRegion shape;
    for (const QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (!child->isHidden() && !child->isWindow())
            shape += child->geometry();
    setMask(shape);
}

bool Tfrm_profhelp::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
    case QEvent::Move:
    case QEvent::Resize:
        RebuildShape();
        break;
    default:
        break;
    }
    if (watched == Image1 && event->type() == QEvent::MouseButtonDblClick)
        vx::DeliverShowingExceptions([this] {
            Tfrm_about::Run(this);
            return true;
        });
    return TShellDialog::eventFilter(watched, event);
}

// The pictures, labels and the balloon leave the mouse to the window, so a
// press on them drags it as a press on the window does; the memo and the
// buttons keep theirs.
void Tfrm_profhelp::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        StartDrag(event->globalPosition().toPoint());
    TShellDialog::mousePressEvent(event);
}

void Tfrm_profhelp::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton)
        DragTo(event->globalPosition().toPoint());
    TShellDialog::mouseMoveEvent(event);
}

void Tfrm_profhelp::StartDrag(const QPoint& globalPos)
{
    dragOffset_ = globalPos - pos();
}

void Tfrm_profhelp::DragTo(const QPoint& globalPos)
{
    move(globalPos - dragOffset_);
}
