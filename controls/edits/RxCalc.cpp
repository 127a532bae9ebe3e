// The calculator's keys, keypad panel, dialog and component.
#include "controls/edits/RxCalc.h"

#include "controls/common/SysColors.h"
#include "controls/common/WindowLanguage.h"
#include "localisation/FormatSettings.h"
#include "localisation/RunTimeText.h"
#include "platform/AnsiText.h"
#include "platform/Exception.h"
#include "platform/qt/QtText.h"
#include "controls/common/StrUtils.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScreen>

#include <cmath>
#include <cstdlib>

namespace {

struct KeyPlace {
    TCalcBtnKind kind;
    int x, y, width;
};

// Key positions of the two layouts; width 0 means the layout's normal key width.
const std::vector<KeyPlace> kDialogKeys = {
    {cbNum0, 47, 104, 0}, {TCalcBtnKind(cbNum0 + 1), 47, 80, 0}, {TCalcBtnKind(cbNum0 + 2), 85, 80, 0},
    {TCalcBtnKind(cbNum0 + 3), 123, 80, 0}, {TCalcBtnKind(cbNum0 + 4), 47, 56, 0},
    {TCalcBtnKind(cbNum0 + 5), 85, 56, 0}, {TCalcBtnKind(cbNum0 + 6), 123, 56, 0},
    {TCalcBtnKind(cbNum0 + 7), 47, 32, 0}, {TCalcBtnKind(cbNum0 + 8), 85, 32, 0},
    {TCalcBtnKind(cbNum0 + 9), 123, 32, 0}, {cbSgn, 85, 104, 0}, {cbDcm, 123, 104, 0}, {cbDiv, 161, 32, 0},
    {cbMul, 161, 56, 0}, {cbSub, 161, 80, 0}, {cbAdd, 161, 104, 0}, {cbSqr, 199, 32, 0}, {cbPcnt, 199, 56, 0},
    {cbRev, 199, 80, 0}, {cbEql, 199, 104, 0}, {cbBck, 145, 6, 44}, {cbClr, 191, 6, 44}, {cbMP, 5, 104, 0},
    {cbMS, 5, 80, 0}, {cbMR, 5, 56, 0}, {cbMC, 5, 32, 0}, {cbOk, 47, 6, 0}, {cbCancel, 85, 6, 0}};

const std::vector<KeyPlace> kPopupKeys = {
    {cbNum0, 6, 75, 0}, {TCalcBtnKind(cbNum0 + 1), 6, 52, 0}, {TCalcBtnKind(cbNum0 + 2), 29, 52, 0},
    {TCalcBtnKind(cbNum0 + 3), 52, 52, 0}, {TCalcBtnKind(cbNum0 + 4), 6, 29, 0},
    {TCalcBtnKind(cbNum0 + 5), 29, 29, 0}, {TCalcBtnKind(cbNum0 + 6), 52, 29, 0},
    {TCalcBtnKind(cbNum0 + 7), 6, 6, 0}, {TCalcBtnKind(cbNum0 + 8), 29, 6, 0}, {TCalcBtnKind(cbNum0 + 9), 52, 6, 0},
    {cbSgn, 52, 75, 0}, {cbDcm, 29, 75, 0}, {cbDiv, 75, 6, 0}, {cbMul, 75, 29, 0}, {cbSub, 75, 52, 0},
    {cbAdd, 75, 75, 0}, {cbEql, 52, 98, 44}, {cbBck, 29, 98, 0}, {cbClr, 6, 98, 0}};

// The engine character of kinds cbSgn .. cbClr.
constexpr char kEngineChars[] = {'_', 0, '/', '*', '-', '+', 'Q', '%', 'R', '=', TCalcEngine::kBackspace, 'C'};

// Keyboard characters in tag order: a typed character at position i clicks the key of tag i.
const std::string kKeyChars = std::string("0123456789_./*-+Q%R=") + TCalcEngine::kBackspace + 'C';

std::string KeyCaption(TCalcBtnKind kind)
{
    if (kind >= cbNum0 && kind <= cbNum0 + 9)
        return std::string(1, static_cast<char>('0' + kind - cbNum0));
    switch (kind) {
    case cbSgn: return "\u00B1";
    case cbDcm: return std::string(1, vx::FormatSettings().DecimalSeparator);
    case cbDiv: return "/";
    case cbMul: return "*";
    case cbSub: return "-";
    case cbAdd: return "+";
    case cbSqr: return "sqrt";
    case cbPcnt: return "%";
    case cbRev: return "1/x";
    case cbEql: return "=";
    case cbBck: return "<-";
    case cbClr: return "C";
    case cbMP: return "MP";
    case cbMS: return "MS";
    case cbMR: return "MR";
    case cbMC: return "MC";
    case cbOk: return "OK";
    case cbCancel: return "Cancel";
    default: return "";
    }
}

TColor KeyColor(TCalcBtnKind kind)
{
    switch (kind) {
    case cbDiv: case cbMul: case cbSub: case cbAdd: case cbEql:
        return clPurple;
    case cbSqr: case cbPcnt: case cbRev: case cbMP: case cbMS: case cbMR: case cbMC:
        return clNavy;
    case cbBck: case cbClr:
        return clMaroon;
    default:
        return clBtnText;
    }
}

// The six key pictures of the dialog layout: cancel, OK, plus-minus, times, minus, plus.
QImage CalcButtonPictures()
{
    constexpr int cell = 16;
    QImage strip(cell * 6, cell, QImage::Format_RGB32);
    strip.fill(QColor(255, 0, 255));
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing, false);
    auto pen = [&](const QColor& c) { p.setPen(QPen(c, 2)); };
    pen(QColor(128, 0, 0));
    p.drawLine(4, 4, 11, 11);
    p.drawLine(11, 4, 4, 11);
    pen(QColor(0, 128, 0));
    p.drawLine(cell + 3, 8, cell + 6, 11);
    p.drawLine(cell + 6, 11, cell + 12, 4);
    pen(QColor(0, 0, 0));
    p.drawLine(2 * cell + 8, 2, 2 * cell + 8, 8);
    p.drawLine(2 * cell + 5, 5, 2 * cell + 11, 5);
    p.drawLine(2 * cell + 5, 12, 2 * cell + 11, 12);
    pen(QColor(128, 0, 128));
    p.drawLine(3 * cell + 5, 5, 3 * cell + 11, 11);
    p.drawLine(3 * cell + 11, 5, 3 * cell + 5, 11);
    p.drawLine(4 * cell + 4, 8, 4 * cell + 12, 8);
    p.drawLine(5 * cell + 4, 8, 5 * cell + 12, 8);
    p.drawLine(5 * cell + 8, 4, 5 * cell + 8, 12);
    return strip;
}

const TRunTimeText Failed{"Error"};

// What the display shows of the engine: its number, or that the last step failed.
QString Shown(const TCalcEngine& engine)
{
    return vx::ToQString(engine.Status() == TCalcState::csError ? Failed() : engine.Text());
}

int PictureCell(TCalcBtnKind kind)
{
    switch (kind) {
    case cbCancel: return 0;
    case cbOk: return 1;
    case cbSgn: return 2;
    case cbMul: return 3;
    case cbSub: return 4;
    case cbAdd: return 5;
    default: return -1;
    }
}

} // namespace

TCalcButton::TCalcButton(QWidget* parent, TCalcBtnKind kind) : TRxSpeedButton(parent), kind_(kind)
{
    SetStyle(TRxButtonStyle::bsNew);
    SetCaption(KeyCaption(kind));
    ApplyColor();
}

void TCalcButton::ApplyColor()
{
    SetFontColor(KeyColor(kind_));
}

void TCalcButton::changeEvent(QEvent* e)
{
    TRxSpeedButton::changeEvent(e);
    if (e->type() == QEvent::FontChange)
        ApplyColor();
}

TCalculatorPanel::TCalculatorPanel(QWidget* parent, TCalcPanelLayout layout) : QWidget(parent)
{
    const bool dialog = layout == TCalcPanelLayout::clDialog;
    resize(dialog ? QSize(240, 129) : QSize(98, 124));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, vx::ToQColor(clBtnFace));
    setPalette(pal);

    const QImage pictures = dialog ? CalcButtonPictures() : QImage();
    const QSize key = dialog ? QSize(36, 22) : QSize(21, 21);
    for (const KeyPlace& place : dialog ? kDialogKeys : kPopupKeys) {
        auto* button = new TCalcButton(this, place.kind);
        button->setGeometry(place.x, place.y, place.width ? place.width : key.width(), key.height());
        if (int cell = PictureCell(place.kind); dialog && cell >= 0) {
            button->SetCaption("");
            button->SetGlyph(pictures.copy(cell * 16, 0, 16, 16));
        }
        button->OnClick = [this, button](QObject*) { ButtonClick(button); };
        buttons_.push_back(button);
    }
    if (dialog) {
        memoryBox_ = new QFrame(this);
        memoryBox_->setGeometry(6, 7, 34, 20);
        memoryLabel_ = new QLabel(memoryBox_);
        memoryLabel_->setGeometry(3, 3, 26, 14);
        memoryLabel_->setAlignment(Qt::AlignCenter);
        QFont plain = memoryLabel_->font();
        plain.setBold(false);
        memoryLabel_->setFont(plain);
    }

    SetCtl3D(true);
    engine_.OnBeep = [] { QApplication::beep(); };
    engine_.OnCopy = [this] { Copy(); };
    engine_.OnPaste = [this] { Paste(); };
    engine_.OnTextChange = [this] {
        if (display_)
            display_->setText(Shown(engine_));
        if (OnTextChange)
            OnTextChange(this);
    };
    engine_.OnDisplayChange = [this] {
        if (OnDisplayChange)
            OnDisplayChange(this);
    };
    engine_.OnError = [this] {
        if (OnError)
            OnError(this);
    };
    engine_.OnResult = [this] {
        if (OnResult)
            OnResult(this);
    };
    engine_.OnCalcKey = [this](char& key) {
        if (OnCalcKey)
            OnCalcKey(this, key);
    };
}

void TCalculatorPanel::SetDisplayLabel(QLabel* label)
{
    display_ = label;
    if (label)
        label->setText(Shown(engine_));
}

TCalcButton* TCalculatorPanel::FindButton(int tag) const
{
    for (TCalcButton* button : buttons_)
        if (button->Tag() == tag)
            return button;
    return nullptr;
}

TCalcButton* TCalculatorPanel::ButtonOfKind(TCalcBtnKind kind) const
{
    for (TCalcButton* button : buttons_)
        if (button->Kind() == kind)
            return button;
    return nullptr;
}

void TCalculatorPanel::SetCtl3D(bool value)
{
    for (TCalcButton* button : buttons_)
        button->SetStyle(value ? TRxButtonStyle::bsNew : TRxButtonStyle::bsWin31);
    if (memoryBox_)
        memoryBox_->setFrameStyle(value ? QFrame::Panel | QFrame::Sunken : QFrame::Box | QFrame::Plain);
}

void TCalculatorPanel::UpdateMemoryLabel()
{
    if (memoryLabel_)
        memoryLabel_->setText(engine_.Memory() != 0 ? "M" : "");
}

void TCalculatorPanel::CalcKeyPress(char key)
{
    if (key == ',' || key == '.' || key == vx::FormatSettings().DecimalSeparator)
        key = '.';
    else if (key == TCalcEngine::kEnter)
        key = '=';
    else if (key == TCalcEngine::kEscape)
        key = 'C';
    key = vx::AsciiUpper(key);
    const size_t position = key ? kKeyChars.find(key) : std::string::npos;
    if (position != std::string::npos)
        if (TCalcButton* button = FindButton(static_cast<int>(position))) {
            button->ButtonClick();
            return;
        }
    engine_.CalcKey(key);
}

void TCalculatorPanel::ButtonClick(TCalcButton* button)
{
    const TCalcBtnKind kind = button->Kind();
    if (kind >= cbNum0 && kind <= cbNum0 + 9) {
        engine_.CalcKey(static_cast<char>('0' + button->Tag()));
    } else if (kind == cbDcm) {
        engine_.CalcKey(vx::FormatSettings().DecimalSeparator);
    } else if (kind >= cbSgn && kind <= cbClr) {
        engine_.CalcKey(kEngineChars[kind - cbSgn]);
    } else if (kind >= cbMP && kind <= cbMC) {
        switch (kind) {
        case cbMP: engine_.MemoryAdd(); break;
        case cbMS: engine_.MemoryStore(); break;
        case cbMR: engine_.MemoryRecall(); break;
        default: engine_.MemoryClear(); break;
        }
        UpdateMemoryLabel();
    } else if (kind == cbOk) {
        if (engine_.Status() == TCalcState::csError) {
            if (engine_.BeepOnError)
                QApplication::beep();
            return;
        }
        engine_.SetDisplayValue(engine_.DisplayValue());
        if (OnOk)
            OnOk(this);
    } else if (kind == cbCancel) {
        if (OnCancel)
            OnCancel(this);
    }
}

void TCalculatorPanel::Copy()
{
    QGuiApplication::clipboard()->setText(vx::ToQString(engine_.Text()));
}

void TCalculatorPanel::Paste()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText())
        return;
    std::string text = vx::FromQString(data->text());
    text = vx::Trim(vx::ReplaceStr(text, vx::FormatSettings().CurrencyString, ""));
    std::string number = text;
    for (char& c : number)
        if (c == vx::FormatSettings().DecimalSeparator)
            c = '.';
    char* end = nullptr;
    const double value = number.empty() ? 0 : std::strtod(number.c_str(), &end);
    if (number.empty() || end != number.c_str() + number.size() || !std::isfinite(value))
        throw EConvertError(TMessage(NotAFloatingPointValue, {text}));
    engine_.SetDisplayValue(value);
}

TRxCalculatorForm::TRxCalculatorForm(QWidget* parent, int helpContext) : QDialog(parent)
{
    setObjectName("RxCalculatorForm");
    setWindowTitle("Calculator");
    Qt::WindowFlags flags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (helpContext != 0)
        flags |= Qt::WindowContextHelpButtonHint;
    setWindowFlags(flags);
    setFixedSize(242, 159);
    QFont f = font();
    f.setBold(true);
    setFont(f);

    displayBox_ = new QFrame(this);
    displayBox_->setGeometry(6, 6, 230, 23);
    displayBox_->setAutoFillBackground(true);
    QPalette pal = displayBox_->palette();
    pal.setColor(QPalette::Window, vx::ToQColor(clWindow));
    displayBox_->setPalette(pal);
    display_ = new QLabel("0", displayBox_);
    display_->setGeometry(5, 2, 217, 15);
    display_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    panel_ = new TCalculatorPanel(this, TCalcPanelLayout::clDialog);
    panel_->move(1, height() - panel_->height());
    panel_->SetDisplayLabel(display_);
    panel_->OnOk = [this](QObject*) { done(QDialog::Accepted); };
    panel_->OnCancel = [this](QObject*) { done(QDialog::Rejected); };
    copy_ = new QAction("&Copy", this);
    copy_->setObjectName("CopyItem");
    copy_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Insert));
    connect(copy_, &QAction::triggered, this, [this] { panel_->Copy(); });
    paste_ = new QAction("&Paste", this);
    paste_->setObjectName("PasteItem");
    paste_->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Insert));
    connect(paste_, &QAction::triggered, this, [this] { panel_->Paste(); });
    addAction(copy_);
    addAction(paste_);
    SetCtl3D(true);
    vx::TranslateOwnWindow(*this);
}

void TRxCalculatorForm::SetCtl3D(bool value)
{
    displayBox_->setFrameStyle(value ? QFrame::Panel | QFrame::Sunken : QFrame::NoFrame);
    panel_->SetCtl3D(value);
}

void TRxCalculatorForm::keyPressEvent(QKeyEvent* e)
{
    char key = 0;
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    if (ctrl && e->key() == Qt::Key_C)
        key = TCalcEngine::kCopy;
    else if (ctrl && e->key() == Qt::Key_V)
        key = TCalcEngine::kPaste;
    else if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        key = TCalcEngine::kEnter;
    else if (e->key() == Qt::Key_Escape)
        key = TCalcEngine::kEscape;
    else if (e->key() == Qt::Key_Backspace)
        key = TCalcEngine::kBackspace;
    else if (!e->text().isEmpty())
        key = vx::FromQString(e->text().left(1))[0];
    if (key == 0) {
        QDialog::keyPressEvent(e);
        return;
    }
    // Escape clears the calculator; on one already clear it closes the window.
    const TCalcEngine& engine = panel_->Engine();
    if (key == TCalcEngine::kEscape && engine.Status() == TCalcState::csFirst && engine.Text() == "0") {
        reject();
        return;
    }
    panel_->CalcKeyPress(key);
}

void TRxCalculatorForm::contextMenuEvent(QContextMenuEvent* e)
{
    QMenu menu(this);
    menu.addAction(copy_);
    menu.addAction(paste_);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    paste_->setEnabled(data && data->hasText());
    menu.exec(e->globalPos());
    // Pasting without text does nothing, so the shortcut stays on.
    paste_->setEnabled(true);
}

TRxCalculator::TRxCalculator(QObject* owner) : QObject(owner) {}

TRxCalculator::~TRxCalculator() = default;

bool TRxCalculator::Execute()
{
    TRxCalculatorForm dialog(nullptr, HelpContext);
    form_ = &dialog;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        dialog.move(screen->geometry().center() - dialog.rect().center());
    dialog.SetCtl3D(Ctl3D);
    dialog.setWindowTitle(vx::ToQString(Title));
    TCalculatorPanel& panel = *dialog.Panel();
    TCalcEngine& engine = panel.Engine();
    engine.SetMemory(memory_);
    panel.UpdateMemoryLabel();
    engine.SetPrecision(Precision);
    engine.BeepOnError = BeepOnError;
    if (Value != 0) {
        engine.SetDisplayValue(Value);
        engine.SetStatus(TCalcState::csFirst);
        engine.SetOperator('=');
    }
    panel.OnCalcKey = [this](QObject*, char& key) {
        if (OnCalcKey)
            OnCalcKey(this, key);
    };
    panel.OnDisplayChange = [this](QObject*) {
        if (OnDisplayChange)
            OnDisplayChange(this);
    };

    const bool ok = dialog.exec() == QDialog::Accepted;
    form_ = nullptr;
    if (ok) {
        memory_ = engine.Memory();
        if (engine.DisplayValue() != Value) {
            Value = engine.DisplayValue();
            if (OnChange)
                OnChange(this);
        }
    }
    return ok;
}
