// The GIF animator window: builds an animated GIF from pictures and animated
// cursors, arranges and edits its frames, previews it and saves it.
#pragma once

#include "images/Graphic.h"

#include <QDialog>
#include <QSize>

#include <array>
#include <memory>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QScrollBar;
class QSpinBox;
class QStatusBar;
class QTabWidget;
class QToolButton;
class QWidget;
class TFormStorage;
class TSpeedBar;
class TSpeedItem;

namespace vx {
class TImageList;
}

namespace RxGIF {
class TGIFImage;
}

class TAnimatorForm : public QDialog {
public:
    explicit TAnimatorForm(QWidget* parent = nullptr);
    ~TAnimatorForm() override;

    RxGIF::TGIFImage& Image() { return *image_; }
    const std::string& FileName() const { return fileName_; }
    bool Modified() const { return modified_; }
    int TopIndex() const { return topIndex_; }
    TFormStorage& Storage() { return *storage_; }
    TSpeedBar& SpeedBar() { return *speedBar_; }

protected:
    // Closing (the close button, Esc) asks about unsaved changes first; Cancel keeps the window.
    void reject() override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Coming back from another program, Paste follows what was copied there.
    void changeEvent(QEvent* event) override;

private:
    friend class TThumbnail;

    // --- construction
    void BuildSpeedBar();
    // The bar's customisation window, owned by this window so that it takes input while this one is modal.
    void CustomizeSpeedBar();
    QWidget* BuildThumbnails();
    void BuildPages();
    QWidget* BuildOptionsPage();
    QWidget* BuildAnimationPage();
    QWidget* BuildImagePage();
    void BindEdits();
    void BuildStorage();
    // The size the window was built with, widened as far as the current
    // language's words need.
    void FitToTexts();

    // --- commands
    bool SaveQuestion();
    void NewCmd();
    void OpenCmd();
    // The animation in the file, every frame's bitmap built; Esc abandons the
    // read (EAbort), a file that cannot be read raises its error.
    std::unique_ptr<RxGIF::TGIFImage> ReadAnimation(const std::string& path);
    bool SaveCmd();
    bool SaveAsCmd();
    void InsertCmd();
    void PasteCmd();
    void CopyCmd();
    void CutCmd();
    void DeleteCmd();
    void MoveCmd(int by);
    void GrayscaleCmd();
    void PreviewCmd();
    // Adds the frames a file or the clipboard brought, then encodes every frame.
    void AddFrames(const RxGIF::TGIFImage& frames);
    void LoadFramesFromFile(const std::string& path, RxGIF::TGIFImage& into);
    void Run(const std::function<void()>& command);

    // --- state shown
    void ImageChanged();
    void SelectFrame(int index, bool forced);
    void RefreshControls();
    void UpdateButtons();
    void UpdateCaption();
    void UpdatePages();
    void SetModified() { modified_ = true; }
    bool HasCurrentFrame() const;
    void Progress(TProgressStage stage, int percent);
    void SetStatus(const std::string& text);
    void PaintThumbnail(int tag, QPainter& painter, const QRect& box);

    // --- edits of the controls
    void LoopEdited();
    void PositionEdited();
    void TransparencyEdited();
    void PickBackColor();
    void PickTransColor();
    bool Editing() const { return !loading_ && !updating_; }

    std::unique_ptr<RxGIF::TGIFImage> image_;
    std::string fileName_;
    bool modified_ = false;
    bool loading_ = false;
    // A toolbar command is under way; the others wait for it.
    bool working_ = false;
    bool updating_ = false;
    bool aborted_ = false;
    int topIndex_ = -1;
    int lastProgress_ = 0;
    TFormStorage* storage_ = nullptr;
    QSize designSize_;

    TSpeedBar* speedBar_ = nullptr;
    vx::TImageList* toolbarImages_ = nullptr;
    std::array<TSpeedItem*, 14> buttons_{};
    std::array<QWidget*, 4> paintBoxes_{};
    std::array<QLabel*, 4> frameLabels_{};
    std::array<QLabel*, 4> numbers_{};
    QScrollBar* imageScroll_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QTabWidget* pages_ = nullptr;
    QWidget* optionsTab_ = nullptr;
    QWidget* animationTab_ = nullptr;
    QWidget* imageTab_ = nullptr;
    QComboBox* colorDepthCombo_ = nullptr;
    QCheckBox* thumbnailsBox_ = nullptr;
    QCheckBox* flatBtns_ = nullptr;
    QCheckBox* alwaysOnTop_ = nullptr;
    QLabel* screenW_ = nullptr;
    QLabel* screenH_ = nullptr;
    QLabel* imageCount_ = nullptr;
    QLabel* gifVersion_ = nullptr;
    QLineEdit* backColor_ = nullptr;
    QToolButton* backColorBtn_ = nullptr;
    QCheckBox* loopBox_ = nullptr;
    QCheckBox* repeatForever_ = nullptr;
    QLabel* loopLbl_ = nullptr;
    QSpinBox* repeatCnt_ = nullptr;
    QPlainTextEdit* trailingComment_ = nullptr;
    QLabel* frameW_ = nullptr;
    QLabel* frameH_ = nullptr;
    QSpinBox* imageLeft_ = nullptr;
    QSpinBox* imageTop_ = nullptr;
    QSpinBox* delayTime_ = nullptr;
    QComboBox* disposalCombo_ = nullptr;
    QCheckBox* transBox_ = nullptr;
    QLabel* transColorLbl_ = nullptr;
    QLineEdit* transColor_ = nullptr;
    QToolButton* transColorBtn_ = nullptr;
    QPlainTextEdit* frameComment_ = nullptr;
};
