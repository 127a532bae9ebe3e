// The editor control widget.
#include "editor/qt/mwCustomEdit.h"

#include "editor/qt/mwImageList.h"

#include "editor/qt/mwInternalImage.h"
#include "editor/qt/mwKeyMapping.h"
#include "editor/qt/uTextDrawer.h"

#include <QAction>
#include <QGuiApplication>
#include <QInputMethod>
#include <QKeyEvent>
#include <QFontInfo>
#include <QScrollBar>

TmwCustomEdit::TmwCustomEdit(QWidget* parent) : QAbstractScrollArea(parent)
{
    font_ = QFont("Courier New", 10);
    font_.setStyleHint(QFont::Monospace);
    font_.setFixedPitch(true);
    textDrawer_ = std::make_unique<TheTextDrawer>(TFontStyles(fsBold), font_);
    model_ = std::make_unique<TmwCustomEditModel>(static_cast<TmwEditMetrics*>(this),
                                                  static_cast<TmwEditView*>(this), this);
    model_->SetClipboard(&clipboard_);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAutoFillBackground(false);
    // Every pixel of the text area a repaint asks for is painted here: the
    // frame behind it is not painted first, and a repaint of the text
    // touches nothing but the text area.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    WindowStyleChanged();
    InitMouseAndScrolling();
    // The bookmark image list is referenced, not owned: its end takes it out of the options.
    TmwBookMarkOpt& options = model_->BookMarkOptions();
    options.OnChange = [this, repaint = options.OnChange](TmwBookMarkOpt* sender) {
        WatchBookmarkImages(sender->BookmarkImages());
        if (repaint)
            repaint(sender);
    };
    resize(200, 150);
}

TmwCustomEdit::~TmwCustomEdit() { WatchBookmarkImages(nullptr); }

void TmwCustomEdit::WatchBookmarkImages(TImageList* images)
{
    if (images == watchedImages_)
        return;
    if (watchedImages_)
        watchedImages_->RemoveDestroyHook(imagesHook_);
    watchedImages_ = images;
    imagesHook_ = 0;
    if (images)
        imagesHook_ = images->AddDestroyHook([this](void*) {
            // The dying list clears its own chain.
            watchedImages_ = nullptr;
            imagesHook_ = 0;
            model_->BookMarkOptions().SetBookmarkImages(nullptr);
        });
}

void TmwCustomEdit::SetFont(const QFont& font)
{
    if (MeasuresFixedPitch(font)) {
        font_ = font;
    } else {
        font_.setPointSizeF(font.pointSizeF());
        font_.setBold(font.bold());
        font_.setItalic(font.italic());
    }
    textDrawer_->SetBaseFont(&font_);
    model_->FontChanged();
}

int TmwCustomEdit::ClientWidth() const { return viewport()->width(); }

int TmwCustomEdit::ClientHeight() const { return viewport()->height(); }

int TmwCustomEdit::CharWidth(bool bold) const
{
    textDrawer_->SetBaseStyle(bold || font_.bold() ? TFontStyles(fsBold) : TFontStyles());
    return textDrawer_->CharWidth();
}

int TmwCustomEdit::CharHeight(bool italic) const
{
    textDrawer_->SetBaseStyle(italic || font_.italic() ? TFontStyles(fsItalic) : TFontStyles());
    return textDrawer_->CharHeight();
}

void TmwCustomEdit::InvalidateRect(const TRect& rect)
{
    viewport()->update(QRect(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top));
}

void TmwCustomEdit::ScrollText(int dy)
{
    viewport()->scroll(0, dy);
    caretRect_.translate(0, dy); // the caret's pixels moved with the text
}

namespace {

// The horizontal bar's range. A changed range repaints the bars and the
// frame, and a long line's length changes with every keystroke: past the
// widest column the range grows in power-of-two steps of about a hundredth
// of it, finer than the bar can show. The view stops at the line's end all
// the same (SetLeftChar keeps to LastLeftChar).
int HorizontalRange(const TmwCustomEditModel& m)
{
    const int last = m.LastLeftChar();
    if (last <= m.MaxLeftChar())
        return last;
    int step = 1;
    while (step <= last / 256)
        step *= 2;
    return (last + step - 1) / step * step;
}

} // namespace

// A bar is repainted for each of these set, changed or not: only changes are set.
void TmwCustomEdit::SetBar(QScrollBar& bar, int maximum, int page, int value)
{
    if (bar.minimum() != 1 || bar.maximum() != maximum)
        bar.setRange(1, maximum);
    if (bar.pageStep() != page)
        bar.setPageStep(page);
    if (bar.value() != value)
        bar.setValue(value);
}

void TmwCustomEdit::UpdateScrollBars()
{
    if (!model_)
        return; // the model asks while it is being built; the first resize sets the bars
    const TmwCustomEditModel& m = *model_;
    // Setting one bar scrolls the view through scrollContentsBy: it must not
    // read the other bar before that one holds the model's value too.
    const bool wasUpdating = updatingBars_;
    updatingBars_ = true;
    SetBar(*horizontalScrollBar(), HorizontalRange(m), std::max(1, m.CharsInWindow()), m.LeftChar());
    SetBar(*verticalScrollBar(), std::max(1, m.LineCount()), std::max(1, m.LinesInWindow()), m.TopLine());
    updatingBars_ = wasUpdating;
    ShowScrollBars();
}

void TmwCustomEdit::UpdateCaret()
{
    QRect now = CaretRect();
    if (now == caretRect_)
        return;
    viewport()->update(caretRect_);
    viewport()->update(now);
    caretRect_ = now;
    if (hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
}

void TmwCustomEdit::RecreateCaret()
{
    viewport()->update(caretRect_);
    caretRect_ = QRect();
    UpdateCaret();
}

void TmwCustomEdit::WindowStyleChanged()
{
    setFrameShape(model_->BorderStyle() == bsSingle ? QFrame::StyledPanel : QFrame::NoFrame);
    ShowScrollBars();
}

void TmwCustomEdit::ShowScrollBars()
{
    // A bar the ScrollBars property names shows where there is something to
    // scroll: not the vertical one of a text of one line, not the horizontal
    // one of a window wider than its columns. The bars are switched on and
    // off here, only when that changes: left to the scroll area, every
    // change of a bar's range would repaint the frame and both bars.
    const TScrollStyle bars = model_->ScrollBars();
    const auto policy = [](bool named, const QScrollBar& bar) {
        return named && bar.maximum() > bar.minimum() ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    };
    const Qt::ScrollBarPolicy horizontal = policy(bars == ssHorizontal || bars == ssBoth, *horizontalScrollBar());
    const Qt::ScrollBarPolicy vertical = policy(bars == ssVertical || bars == ssBoth, *verticalScrollBar());
    if (horizontalScrollBarPolicy() == horizontal && verticalScrollBarPolicy() == vertical)
        return;
    setHorizontalScrollBarPolicy(horizontal);
    setVerticalScrollBarPolicy(vertical);
    // The text area has its new size now; a window not shown yet hears of it only when it is.
    model_->SizeChanged();
}

void TmwCustomEdit::ExecuteAction(TmwEditAction action)
{
    switch (action) {
    case TmwEditAction::Cut:
        model_->CutToClipboard();
        break;
    case TmwEditAction::Copy:
        model_->CopyToClipboard();
        break;
    case TmwEditAction::Paste:
        model_->PasteFromClipboard();
        break;
    }
}

bool TmwCustomEdit::UpdateAction(TmwEditAction action, QAction& target) const
{
    if (!hasFocus())
        return false;
    const bool changes = action != TmwEditAction::Copy;
    target.setEnabled((!changes || !model_->GetReadOnly()) &&
                      (action == TmwEditAction::Paste ? model_->CanPaste() : model_->SelAvail()));
    return true;
}

void TmwCustomEdit::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    model_->SizeChanged();
}

void TmwCustomEdit::keyPressEvent(QKeyEvent* event)
{
    DeliverKeyPress(*model_, *event);
    event->accept();
}

void TmwCustomEdit::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TmwCustomEdit::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}
