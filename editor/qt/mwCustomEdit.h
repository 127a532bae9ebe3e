// The editor control: a scroll area that owns the editor model, gives it the
// window's metrics and carries out the updates it asks for.
#pragma once

#include "editor/mwCustomEditModel.h"
#include "editor/qt/mwQtClipboard.h"

#include <QAbstractScrollArea>
#include <QFont>

#include <memory>

class QAction;

// The standard edit actions an editor carries out.
enum class TmwEditAction { Cut, Copy, Paste };

class TmwCustomEdit : public QAbstractScrollArea, private TmwEditMetrics, private TmwEditView {
    Q_OBJECT

public:
    explicit TmwCustomEdit(QWidget* parent = nullptr);
    ~TmwCustomEdit() override;

    TmwCustomEditModel& Model() { return *model_; }
    const TmwCustomEditModel& Model() const { return *model_; }

    // The editor font; proportional fonts give their size and style to a fixed-pitch face.
    const QFont& Font() const { return font_; }
    void SetFont(const QFont& font);

    // Runs a standard edit action on this editor.
    void ExecuteAction(TmwEditAction action);
    // While this editor has the focus, enables the action when it can run: cut
    // and copy with a selection, paste with something to paste. An unfocused
    // editor leaves the action alone; false then.
    bool UpdateAction(TmwEditAction action, QAction& target) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // TmwEditMetrics
    bool WindowExists() const override { return true; }
    int ClientWidth() const override;
    int ClientHeight() const override;
    int CharWidth(bool bold) const override;
    int CharHeight(bool italic) const override;
    // TmwEditView
    void InvalidateRect(const TRect& rect) override;
    void ScrollText(int dy) override;
    void UpdateScrollBars() override;
    void UpdateCaret() override;
    void RecreateCaret() override;
    void WindowStyleChanged() override;

    QFont font_;
    TmwQtClipboard clipboard_;
    std::unique_ptr<TmwCustomEditModel> model_;
};
