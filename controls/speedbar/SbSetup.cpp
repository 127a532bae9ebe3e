// The speed bar's customisation window: lists, row sizes and dragging items onto the bar.
#include "controls/speedbar/SbSetup.h"

#include "controls/speedbar/SpeedBar.h"
#include "controls/common/HelpContext.h"
#include "controls/common/VCLUtils.h"
#include "controls/common/WindowLanguage.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace {

QListWidget* NewGrid(const char* name, QWidget* parent)
{
    auto* grid = new QListWidget(parent);
    grid->setObjectName(name);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    return grid;
}

QLabel* NewLabel(const char* name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

TSpeedbarSetupWindow::TSpeedbarSetupWindow()
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::WindowStaysOnTopHint)
{
    setObjectName("SpeedbarSetupWindow");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Customize Speedbar");
    SectionList = NewGrid("SectionList", this);
    ButtonsList = NewGrid("ButtonsList", this);
    CategoriesLabel = NewLabel("CategoriesLabel", "&Categories:", this);
    CategoriesLabel->setBuddy(SectionList);
    ButtonsLabel = NewLabel("ButtonsLabel", "&Available buttons:", this);
    ButtonsLabel->setBuddy(ButtonsList);
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName("Bevel1");
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    HintLabel = NewLabel("HintLabel",
                         "To add command buttons, drag and drop buttons onto the SpeedBar. To remove command "
                         "buttons, drag them off of the SpeedBar.",
                         Bevel1);
    HintLabel->setWordWrap(true);
    (new QVBoxLayout(Bevel1))->addWidget(HintLabel);
    CloseBtn = new QPushButton("OK", this);
    CloseBtn->setObjectName("CloseBtn");
    CloseBtn->setAutoDefault(false);
    HelpBtn = new QPushButton("&Help", this);
    HelpBtn->setObjectName("HelpBtn");
    HelpBtn->setAutoDefault(false);
    HelpBtn->hide();

    auto* grid = new QGridLayout(this);
    grid->addWidget(CategoriesLabel, 0, 0);
    grid->addWidget(ButtonsLabel, 0, 1);
    grid->addWidget(SectionList, 1, 0);
    grid->addWidget(ButtonsList, 1, 1);
    grid->addWidget(Bevel1, 2, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CloseBtn);
    buttons->addWidget(HelpBtn);
    grid->addLayout(buttons, 3, 0, 1, 2);

    connect(SectionList, &QListWidget::currentRowChanged, this, [this] { SectionChosen(); });
    connect(ButtonsList, &QListWidget::currentRowChanged, this, [this] { ButtonRowChosen(); });
    connect(CloseBtn, &QPushButton::clicked, this, &QWidget::close);
    connect(HelpBtn, &QPushButton::clicked, this, [this] { vx::ShowHelpContext(helpContext_); });
    ButtonsList->viewport()->installEventFilter(this);
    ButtonsList->viewport()->setMouseTracking(true);
    SectionList->setFocus();
    vx::TranslateOwnWindow(*this);
}

TSpeedbarSetupWindow::~TSpeedbarSetupWindow()
{
    LeaveBar();
}

void TSpeedbarSetupWindow::LeaveBar()
{
    floating_.reset();
    if (TSpeedBar* bar = bar_) {
        bar_ = nullptr;
        bar->SetEditWin(nullptr);
    }
}

void TSpeedbarSetupWindow::SetSpeedBar(TSpeedBar* bar)
{
    if (bar == bar_)
        return;
    LeaveBar();
    bar_ = bar;
    if (bar) {
        bar->SetEditWin(this);
        UpdateSizes();
    }
    RefreshLists(false);
}

bool TSpeedbarSetupWindow::Usable() const
{
    return bar_ && bar_->parent() && bar_->parentWidget();
}

int TSpeedbarSetupWindow::CurrentSection() const
{
    if (!Usable() || bar_->SectionCount() == 0)
        return -1;
    return SectionList->currentRow();
}

TSpeedItem* TSpeedbarSetupWindow::CurrentItem() const
{
    const int section = CurrentSection();
    return section < 0 ? nullptr : bar_->Items(section, ButtonsList->currentRow());
}

void TSpeedbarSetupWindow::RefreshLists(bool keepSection)
{
    const int kept = SectionList->currentRow();
    const QSignalBlocker block(SectionList);
    SectionList->clear();
    const int rowHeight = SectionList->fontMetrics().height() + 2;
    if (Usable())
        for (int i = 0; i < bar_->SectionCount(); ++i) {
            auto* row = new QListWidgetItem(vx::ToQString(bar_->Sections(i)->Caption()), SectionList);
            row->setSizeHint(QSize(SectionList->viewport()->width(), rowHeight));
        }
    if (SectionList->count() > 0)
        SectionList->setCurrentRow(keepSection ? std::clamp(kept, 0, SectionList->count() - 1) : 0);
    SectionChosen();
}

void TSpeedbarSetupWindow::SectionChosen()
{
    FillButtons();
    FitColumns();
    ShowItemHint();
}

void TSpeedbarSetupWindow::FillButtons()
{
    const int kept = ButtonsList->currentRow();
    const QSignalBlocker block(ButtonsList);
    ButtonsList->clear();
    const int section = CurrentSection();
    if (section < 0)
        return;
    ButtonsList->setIconSize(QSize(bar_->BtnWidth(), bar_->BtnHeight()));
    for (int i = 0; i < bar_->ItemsCount(section); ++i) {
        TSpeedItem* item = bar_->Items(section, i);
        TSpeedbarButton* button = item->Button();
        button->setFont(bar_->font());
        button->resize(bar_->BtnWidth(), bar_->BtnHeight());
        auto* row = new QListWidgetItem(QIcon(QPixmap::fromImage(button->FaceImage())),
                                        vx::ToQString(item->Caption()), ButtonsList);
        row->setSizeHint(QSize(ButtonsList->viewport()->width(), bar_->BtnHeight() + 2));
    }
    if (ButtonsList->count() > 0)
        ButtonsList->setCurrentRow(std::clamp(kept, 0, ButtonsList->count() - 1));
}

void TSpeedbarSetupWindow::FitColumns()
{
    for (QListWidget* grid : {SectionList, ButtonsList})
        for (int i = 0; i < grid->count(); ++i)
            grid->item(i)->setSizeHint(QSize(grid->viewport()->width(), grid->item(i)->sizeHint().height()));
}

// While an item is dragged its row stays the chosen one.
void TSpeedbarSetupWindow::ButtonRowChosen()
{
    if (dragging_ && ButtonsList->currentRow() != dragRow_) {
        const QSignalBlocker block(ButtonsList);
        ButtonsList->setCurrentRow(dragRow_);
    }
    ShowItemHint();
}

void TSpeedbarSetupWindow::ShowItemHint()
{
    TSpeedItem* item = dragging_ ? nullptr : CurrentItem();
    setToolTip(item ? vx::ToQString(item->Hint()) : QString());
}

void TSpeedbarSetupWindow::UpdateSizes()
{
    if (!bar_)
        return;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int ppi = screen ? qRound(screen->logicalDotsPerInchY()) : 96;
    const int h = 186 * ppi / 96;
    const int rowHeight = bar_->BtnHeight() + 2;
    const int rows = std::max(1, std::max(ButtonsList->viewport()->height(), h) / rowHeight);
    const int client = std::min(h, rowHeight * rows);
    const int frame = 2 * ButtonsList->frameWidth();
    ButtonsList->setFixedHeight(client + frame);
    SectionList->setFixedHeight(client + frame);
    ButtonsList->setMinimumWidth(bar_->BtnWidth() + 160);
    FillButtons();
}

bool TSpeedbarSetupWindow::event(QEvent* e)
{
    if (e->type() == TSpeedbarNotifyEvent::Type()) {
        const auto* notify = static_cast<TSpeedbarNotifyEvent*>(e);
        if (notify->Bar() != bar_)
            return true;
        switch (notify->Code()) {
        case sbnChanged:
            RefreshLists(true);
            break;
        case sbnDestroyed:
            bar_ = nullptr;
            close();
            break;
        case sbnButtonSizeChanged:
            UpdateSizes();
            break;
        case sbnButtonDropped:
            break;
        }
        return true;
    }
    return QDialog::event(e);
}

bool TSpeedbarSetupWindow::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == ButtonsList->viewport() && ButtonsMouse(e))
        return true;
    return QDialog::eventFilter(watched, e);
}

// Dragging a hidden item from the button list onto the bar.
bool TSpeedbarSetupWindow::ButtonsMouse(QEvent* e)
{
    const auto type = e->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return false;
    auto* mouse = static_cast<QMouseEvent*>(e);
    const QPoint p = mouse->position().toPoint(), global = mouse->globalPosition().toPoint();
    QWidget* viewport = ButtonsList->viewport();
    if (type == QEvent::MouseButtonPress) {
        if (mouse->button() != Qt::LeftButton || !bar_ || p.x() >= bar_->BtnWidth() + 2)
            return false;
        const int section = CurrentSection();
        const int row = ButtonsList->row(ButtonsList->itemAt(p));
        TSpeedItem* item = section < 0 || row < 0 ? nullptr : bar_->Items(section, row);
        if (!item)
            return false;
        ButtonsList->setCurrentRow(row);
        dragRow_ = row;
        dragging_ = true;
        dragItem_ = item->Visible() ? nullptr : item;
        if (dragItem_) {
            floating_ = std::make_unique<TBtnControl>();
            floating_->InitButton(dragItem_);
            viewport->setCursor(floating_->cursor());
        }
        ShowItemHint();
        return true;
    }
    if (!dragging_)
        return false;
    if (type == QEvent::MouseMove) {
        if (dragItem_ && floating_)
            floating_->ShowAt(global - QPoint(floating_->width(), floating_->height()));
        else
            viewport->setCursor(Qt::ForbiddenCursor);
        return true;
    }
    if (mouse->button() != Qt::LeftButton)
        return true;
    viewport->unsetCursor();
    if (floating_ && dragItem_)
        EndDrag(global);
    dragging_ = false;
    dragItem_ = nullptr;
    floating_.reset();
    ShowItemHint();
    return true;
}

void TSpeedbarSetupWindow::EndDrag(QPoint screenPoint)
{
    const QSize size = floating_->size();
    floating_.reset();
    const QPoint point = screenPoint - QPoint(size.width(), size.height());
    QWidget* target = QApplication::widgetAt(point);
    while (target && !dynamic_cast<TSpeedBar*>(target))
        target = target->parentWidget();
    if (!target || target != bar_)
        return;
    const QPoint local = bar_->mapFromGlobal(point);
    if (bar_->AcceptDropItem(dragItem_, local.x(), local.y()))
        FillButtons();
}

void TSpeedbarSetupWindow::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    UpdateSizes();
    FitColumns();
}

void TSpeedbarSetupWindow::closeEvent(QCloseEvent* e)
{
    LeaveBar();
    QDialog::closeEvent(e);
}

// The bar opens its customisation window from here, so that the bar's own unit
// knows nothing of the window and the window reaches the bar through its header.
void TSpeedBar::Customize(int helpContext)
{
    TSpeedbarSetupWindow* window = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        auto* candidate = dynamic_cast<TSpeedbarSetupWindow*>(top);
        if (candidate && candidate->SpeedBar() == this)
            window = candidate;
    }
    if (!window) {
        window = new TSpeedbarSetupWindow;
        window->SetSpeedBar(this);
    }
    if (helpContext > 0)
        window->SetHelpContext(helpContext);
    window->HelpBtn->setVisible(helpContext > 0);
    window->HelpBtn->setEnabled(vx::HelpAvailable());
    if (window->isMinimized())
        window->showNormal();
    vx::CenterControl(window);
    window->show();
    window->raise();
    window->activateWindow();
}
