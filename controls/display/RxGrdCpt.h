// TRxGradientCaption: the window's caption bar drawn as a colour gradient with
// the window icon and several styled text pieces (TRxCaption items of a
// TRxCaptionList) followed by the form caption. Window managers on this
// platform draw their own title bars and let no program paint them, so the bar
// is a widget the window hosts at its top; it follows the window's activation.
#pragma once

#include "controls/common/Events.h"
#include "editor/Colors.h"

#include <QFont>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class QMenu;
class TRxGradientCaption;

enum THideDirection { hdLeftToRight, hdRightToLeft };

class TRxCaption {
public:
    // A piece starts with the owner's font and colour (caption text without one).
    explicit TRxCaption(TRxGradientCaption* owner);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    // Any change of the piece's own font clears ParentFont.
    const QFont& Font() const { return font_; }
    void SetFont(const QFont& value);
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor value);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);
    TColor InactiveColor() const { return inactiveColor_; }
    void SetInactiveColor(TColor value);
    // Keeps this piece and the next one together when pieces are dropped.
    bool GlueNext() const { return glueNext_; }
    void SetGlueNext(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);

private:
    friend class TRxGradientCaption;
    void Changed();

    TRxGradientCaption* owner_;
    std::string caption_;
    QFont font_;
    TColor fontColor_ = clCaptionText;
    bool parentFont_ = true;
    TColor inactiveColor_ = clInactiveCaptionText;
    bool glueNext_ = false;
    bool visible_ = true;
};

class TRxCaptionList {
public:
    explicit TRxCaptionList(TRxGradientCaption* owner) : owner_(owner) {}

    int Count() const { return static_cast<int>(items_.size()); }
    TRxCaption& Items(int index) const { return *items_.at(static_cast<std::size_t>(index)); }
    TRxCaption& Add();
    void Delete(int index);
    void Clear();

private:
    TRxGradientCaption* owner_;
    std::vector<std::unique_ptr<TRxCaption>> items_;
};

namespace vx {

// Width and flags of one text piece as the layout sees it.
struct TCaptionPiece {
    int width = 0;
    bool visible = true;
    bool glueNext = false;
};

// Which pieces are drawn in a text area `available` pixels wide, in order, when
// the form caption (drawn last) is captionWidth wide. hdLeftToRight drops pieces
// from the left (glued groups together) until everything fits; hdRightToLeft
// keeps whole groups from the left while they fit.
std::vector<int> CaptionPiecesShown(const std::vector<TCaptionPiece>& pieces, int captionWidth, int available,
                                    THideDirection direction);

} // namespace vx

class TRxGradientCaption : public QWidget {
public:
    explicit TRxGradientCaption(QWidget* parent = nullptr);
    ~TRxGradientCaption() override;

    bool Active() const { return active_; }
    void SetActive(bool value);
    TRxCaptionList& Captions() { return captions_; }
    // Font follows the application's caption font while True.
    bool DefaultFont() const { return defaultFont_; }
    void SetDefaultFont(bool value);
    const std::string& FormCaption() const { return formCaption_; }
    void SetFormCaption(const std::string& value);
    TColor FontInactiveColor() const { return fontInactiveColor_; }
    void SetFontInactiveColor(TColor value);
    // The caption font; setting it clears DefaultFont and reaches pieces with ParentFont.
    const QFont& Font() const { return font_; }
    void SetFont(const QFont& value);
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor value);
    bool GradientActive() const { return gradientActive_; }
    void SetGradientActive(bool value);
    bool GradientInactive() const { return gradientInactive_; }
    void SetGradientInactive(bool value);
    int GradientSteps() const { return gradientSteps_; }
    void SetGradientSteps(int value);
    THideDirection HideDirection() const { return hideDirection_; }
    void SetHideDirection(THideDirection value);
    // Shown on a right click in the bar.
    QMenu* PopupMenu() const;
    void SetPopupMenu(QMenu* value);
    TColor StartColor() const { return startColor_; }
    void SetStartColor(TColor value);

    vx::TNotifyEvent OnActivate;
    vx::TNotifyEvent OnDeactivate;

    // Whether the bar is drawn in the active look: the hosting window is active.
    bool FormActive() const { return formActive_; }
    // Re-reads the window's activation and repaints.
    void Invalidate();
    // Draws the bar over the widget's rectangle; nothing for a borderless window.
    void PaintCaption(QPainter& canvas);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    friend class TRxCaption;
    friend class TRxCaptionList;
    // A piece changed; an inactive colour alone matters only while the window is inactive.
    void PieceChanged(bool colorOnly);
    void ApplyDefaultFont();
    // Draws the icon when the window shows one; returns where the texts start.
    int DrawIcon(QPainter& canvas, const QRect& bar);
    void DrawTexts(QPainter& canvas, QRect area);

    TRxCaptionList captions_{this};
    bool active_ = true;
    bool defaultFont_ = true;
    std::string formCaption_;
    TColor fontInactiveColor_ = clInactiveCaptionText;
    QFont font_;
    TColor fontColor_ = clCaptionText;
    bool gradientActive_ = true;
    bool gradientInactive_ = false;
    int gradientSteps_ = 64;
    THideDirection hideDirection_ = hdLeftToRight;
    QPointer<QMenu> popupMenu_;
    TColor startColor_ = clWindowText;
    bool formActive_ = false;
    bool rightDown_ = false;
};
