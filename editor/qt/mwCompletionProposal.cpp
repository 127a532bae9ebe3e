// The completion proposal popup and its components.
#include "editor/qt/mwCompletionProposal.h"

#include "editor/qt/SysColors.h"
#include "editor/qt/mwCustomEdit.h"
#include "editor/qt/mwKeyMapping.h"
#include "platform/AnsiText.h"
#include "platform/qt/QtText.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr uint16_t VK_BACK = 0x08, VK_RETURN = 0x0D, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21,
                   VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24, VK_UP = 0x26, VK_DOWN = 0x28;

bool StartsWith(const std::string& item, const std::string& prefix, bool ignoreCase)
{
    if (item.size() < prefix.size())
        return false;
    if (!ignoreCase)
        return item.compare(0, prefix.size(), prefix) == 0;
    return vx::UpperCase(std::string_view(item).substr(0, prefix.size())) == vx::UpperCase(prefix);
}

} // namespace

// ---------------------------------------------------------------- the popup

TCompletionProposalForm::TCompletionProposalForm(QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint)
{
    fontHeight_ = std::max(1, fontMetrics().height());
    scrollBar_ = new QScrollBar(Qt::Vertical, this);
    scrollBar_->setFocusPolicy(Qt::NoFocus);
    QObject::connect(scrollBar_, &QScrollBar::valueChanged, this, [this] { update(); });
    itemList_.OnChange = [this](TStringList*) { ItemsChanged(); };
    resize(262, height());
    SetNbLinesInWindow(6);
}

TCompletionProposalForm::~TCompletionProposalForm() = default;

TmwCustomEdit* TCompletionProposalForm::CurrentEditor() const { return currentEditor_; }

void TCompletionProposalForm::SetCurrentEditor(TmwCustomEdit* editor) { currentEditor_ = editor; }

void TCompletionProposalForm::SetCurrentString(const std::string& value)
{
    currentString_ = value;
    for (int i = 0; i < itemList_.Count(); ++i) {
        if (StartsWith(itemList_[i], value, ansiStrings_)) {
            SetPosition(i);
            return;
        }
    }
}

void TCompletionProposalForm::SetPosition(int value)
{
    if (value < 0 || value >= itemList_.Count() || value == position_)
        return;
    position_ = value;
    if (position_ < scrollBar_->value())
        scrollBar_->setValue(position_);
    else if (position_ > scrollBar_->value() + nbLinesInWindow_ - 1)
        scrollBar_->setValue(position_ - nbLinesInWindow_ + 1);
    update();
}

void TCompletionProposalForm::SetNbLinesInWindow(int value)
{
    nbLinesInWindow_ = std::max(1, value);
    resize(width(), fontHeight_ * nbLinesInWindow_ + 2);
    Layout();
    ItemsChanged();
}

void TCompletionProposalForm::SetClSelect(TColor value)
{
    clSelect_ = value;
    update();
}

void TCompletionProposalForm::SetColor(TColor value)
{
    color_ = value;
    update();
}

void TCompletionProposalForm::ItemsChanged()
{
    scrollBar_->setRange(0, std::max(0, itemList_.Count() - nbLinesInWindow_));
    scrollBar_->setPageStep(nbLinesInWindow_);
    update();
}

void TCompletionProposalForm::Layout()
{
    const int barWidth = scrollBar_->sizeHint().width();
    const int barLeft = width() - 2 - barWidth;
    scrollBar_->setGeometry(barLeft, 2, barWidth, std::max(1, height() - 4));
    bitmap_ = QPixmap(std::max(1, barLeft - 2), std::max(1, height() - 2));
}

void TCompletionProposalForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Layout();
}

void TCompletionProposalForm::Fire(const TNotifyEvent& event)
{
    if (event)
        event(this);
}

void TCompletionProposalForm::KeyDown(uint16_t key, TShiftState shift)
{
    const bool ctrl = shift == ssCtrl;
    switch (key) {
    case VK_BACK:
        if (shift == 0 && !currentString_.empty()) {
            SetCurrentString(currentString_.substr(0, currentString_.size() - 1));
            Fire(OnKeyDelete);
        }
        break;
    case VK_RETURN:
        Fire(OnValidate);
        break;
    case VK_ESCAPE:
    case VK_SPACE:
        Fire(OnCancel);
        break;
    case VK_PRIOR:
    case VK_NEXT:
        for (int i = 0; i < nbLinesInWindow_; ++i)
            SetPosition(position_ + (key == VK_NEXT ? 1 : -1));
        break;
    case VK_HOME:
    case VK_END:
        if (ctrl)
            SetPosition(key == VK_HOME ? 0 : itemList_.Count() - 1);
        break;
    case VK_UP:
    case VK_DOWN:
        if (ctrl)
            SetPosition(key == VK_UP ? 0 : itemList_.Count() - 1);
        else if (shift == 0)
            SetPosition(position_ + (key == VK_DOWN ? 1 : -1));
        break;
    default:
        break;
    }
    update();
}

void TCompletionProposalForm::KeyPress(char key)
{
    const auto code = static_cast<unsigned char>(key);
    if (code == VK_BACK) {
        if (OnKeyPress)
            OnKeyPress(this, key);
    } else if (code >= 33 && code <= 122) {
        SetCurrentString(currentString_ + key);
        if (OnKeyPress)
            OnKeyPress(this, key);
    } else {
        Fire(OnCancel);
    }
    update();
}

void TCompletionProposalForm::keyPressEvent(QKeyEvent* event)
{
    uint16_t key = 0;
    TShiftState shift = 0;
    if (!KeyEventToKey(*event, key, shift))
        return;
    KeyDown(key, shift);
    // Enter, Esc and Space close the popup and are done with: their character
    // is neither typed nor handed to the editor.
    if (key == VK_RETURN || key == VK_ESCAPE || key == VK_SPACE)
        return;
    const std::string text = vx::FromQString(event->text());
    if (text.empty() || !isVisible())
        return;
    if (text.size() == 1) {
        KeyPress(text[0]);
        return;
    }
    // A character of several bytes is no part of a word the list completes:
    // the popup closes and the character is typed.
    TmwCustomEdit* editor = CurrentEditor();
    Fire(OnCancel);
    if (editor)
        editor->Model().TypeCharacter(text);
}

bool TCompletionProposalForm::focusNextPrevChild(bool) { return false; }

void TCompletionProposalForm::mousePressEvent(QMouseEvent* event)
{
    SetPosition(scrollBar_->value() + (static_cast<int>(event->position().y()) - 1) / fontHeight_);
}

void TCompletionProposalForm::paintEvent(QPaintEvent*)
{
    bitmap_.fill(vx::ToQColor(color_));
    {
        QPainter canvas(&bitmap_);
        canvas.setFont(font());
        const int rows = std::min(nbLinesInWindow_, itemList_.Count());
        for (int r = 0; r < rows; ++r) {
            const int index = scrollBar_->value() + r;
            if (index >= itemList_.Count())
                break;
            const int top = r * fontHeight_;
            const bool selected = index == position_;
            if (selected)
                canvas.fillRect(0, top, bitmap_.width(), fontHeight_, vx::ToQColor(clSelect_));
            const std::string& item = itemList_[index];
            if (OnPaintItem && OnPaintItem(item, canvas, 0, top))
                continue;
            canvas.setPen(vx::ToQColor(selected ? clHighlightText : clWindowText));
            canvas.drawText(QRect(0, top, bitmap_.width(), fontHeight_), Qt::AlignLeft | Qt::AlignTop,
                            vx::ToQString(item));
        }
    }
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, width() - 1, height() - 1);
    painter.drawPixmap(1, 1, bitmap_);
}

// ---------------------------------------------------------------- the components

TCompletionProposal::TCompletionProposal() : form_(std::make_unique<TCompletionProposalForm>()) {}

TCompletionProposal::~TCompletionProposal() = default;

void TCompletionProposal::Execute(const std::string& token, int x, int y)
{
    form_->move(x, y);
    form_->SetCurrentString(token);
    if (OnExecute)
        OnExecute(this);
    form_->show();
    form_->setFocus();
}

TMwCompletionProposal::TMwCompletionProposal()
    : shortCut_(::ShortCut(VK_SPACE, ssCtrl)),
      hooks_([this](TmwCustomEdit* editor, uint16_t key, TShiftState shift) {
          return EditorKeyDown(editor, key, shift);
      })
{
    TCompletionProposalForm& form = Form();
    form.OnKeyPress = [](TCompletionProposalForm* sender, char& key) {
        if (TmwCustomEdit* editor = sender->CurrentEditor())
            editor->Model().CommandProcessor(ecChar, key, nullptr);
    };
    form.OnKeyDelete = [](TCompletionProposalForm* sender) {
        if (TmwCustomEdit* editor = sender->CurrentEditor())
            editor->Model().CommandProcessor(ecDeleteLastChar, '\0', nullptr);
    };
    form.OnValidate = [this](TCompletionProposalForm*) { Validate(); };
    form.OnCancel = [this](TCompletionProposalForm*) { Cancel(); };
}

TMwCompletionProposal::~TMwCompletionProposal() = default;

bool TMwCompletionProposal::EditorKeyDown(TmwCustomEdit* editor, uint16_t key, TShiftState shift)
{
    TmwCustomEditModel& m = editor->Model();
    if (m.GetReadOnly() || ::ShortCut(key, shift) != shortCut_)
        return false;
    // Just below the caret's line.
    const TPoint caret = editor->RowColumnToPixels(m.CaretXY());
    const QPoint at = editor->viewport()->mapToGlobal(QPoint(caret.X, caret.Y + m.LineHeight()));
    Form().SetCurrentEditor(editor);
    Execute(WordBeforeCaret(m, endOfTokenChr_), at.x(), at.y());
    return true;
}

void TMwCompletionProposal::Validate()
{
    TmwCustomEdit* editor = Form().CurrentEditor();
    if (!editor) {
        Form().hide(); // its editor is gone
        return;
    }
    const TStringList& items = ItemList();
    if (Position() < 0 || Position() >= items.Count()) {
        Cancel(); // nothing to put in
        return;
    }
    TmwCustomEditModel& m = editor->Model();
    const std::string item = items[Position()];
    // Asked before the typed part is selected: a refused item leaves it as typed.
    if (m.AcceptsText(item))
        OnCharsBeforeCaret(m, static_cast<int>(CurrentString().size()), [&] { m.SetSelText(item); });
    Form().hide();
    hooks_.ForgetPendingChar(editor);
    editor->setFocus();
}

void TMwCompletionProposal::Cancel()
{
    Form().hide();
    TmwCustomEdit* editor = Form().CurrentEditor();
    if (!editor)
        return;
    hooks_.ForgetPendingChar(editor);
    if (QWidget* owner = editor->parentWidget())
        owner->setFocus();
    editor->setFocus();
}
