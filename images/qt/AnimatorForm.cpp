// The GIF animator window: its speed bar, thumbnails, pages and their wiring.
#include "images/qt/AnimatorForm.h"

#include "controls/stores/AppUtils.h"
#include "controls/speedbar/SbSetup.h"
#include "controls/speedbar/SpeedBar.h"
#include "controls/stores/Placemnt.h"
#include "images/ReducedDIB.h"
#include "images/RxGIF.h"
#include "images/qt/AnimatorFormParts.h"
#include "images/qt/AnimatorGlyphs.h"
#include "images/qt/RxGIFPicture.h"
#include "localisation/qt/KMLang.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

struct TButtonRow {
    const char* name;
    const char* text;
    // The section that starts after this button, if one does.
    const char* nextSection;
};

// The speed bar's buttons in their sections: File, Edit, Image, Help.
constexpr TButtonRow kButtons[] = {
    {"NewBtn", "New", nullptr},       {"OpenBtn", "Open", nullptr},        {"SaveBtn", "Save", nullptr},
    {"SaveAsBtn", "SaveAs", nullptr}, {"InsertBtn", "Insert", "Edit"},     {"CutBtn", "Cut", nullptr},
    {"CopyBtn", "Copy", nullptr},     {"PasteBtn", "Paste", nullptr},      {"DeleteBtn", "Delete", "Image"},
    {"UpBtn", "Move Up", nullptr},    {"DownBtn", "Move Down", nullptr},   {"GrayscaleBtn", "Grayscale", nullptr},
    {"PreviewBtn", "Preview", "Help"}, {"AboutBtn", "About", nullptr},
};

template <class T>
T* Named(T* widget, const char* name)
{
    widget->setObjectName(name);
    return widget;
}

QSpinBox* SpinBox(QWidget* parent, const char* name, int maximum)
{
    auto* box = Named(new QSpinBox(parent), name);
    box->setRange(0, maximum);
    return box;
}

} // namespace

// One of the four thumbnail boxes; its tag says which frame after TopIndex it shows.
class TThumbnail : public QWidget {
public:
    TThumbnail(TAnimatorForm* form, int tag) : QWidget(form), form_(form), tag_(tag)
    {
        setObjectName(QString("PaintBox%1").arg(tag + 1));
        setMinimumSize(72, 72);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        form_->PaintThumbnail(tag_, painter, rect());
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton || form_->image_->Count() == 0)
            return;
        if (form_->imageScroll_->isEnabled())
            form_->imageScroll_->setFocus();
        form_->SelectFrame(form_->topIndex_ + tag_, false);
    }

private:
    TAnimatorForm* form_;
    int tag_;
};

TAnimatorForm::TAnimatorForm(QWidget* parent) : QDialog(parent), image_(std::make_unique<RxGIF::TGIFImage>())
{
    setObjectName("AnimatorForm");
    // The placement lives under the company's key, named after the application's title.
    vx::DefCompanyName = "Orvane Software";
    vx::RegUseAppTitle = true;
    auto* layout = new QVBoxLayout(this);
    BuildSpeedBar();
    layout->addWidget(speedBar_);
    layout->addWidget(BuildThumbnails());
    imageScroll_ = Named(new QScrollBar(Qt::Horizontal, this), "ImageScroll");
    imageScroll_->setPageStep(4);
    layout->addWidget(imageScroll_);
    BuildPages();
    layout->addWidget(pages_, 1);
    progress_ = Named(new QProgressBar(this), "Progress");
    progress_->setRange(0, 100);
    progress_->setValue(0);
    layout->addWidget(progress_);
    statusBar_ = Named(new QStatusBar(this), "StatusBar1");
    statusBar_->setSizeGripEnabled(false);
    layout->addWidget(statusBar_);
    BindEdits();
    BuildStorage();

    image_->OnChange = [this](TGraphic*) { ImageChanged(); };
    image_->OnProgress = [this](TGraphic*, TProgressStage stage, int percent) { Progress(stage, percent); };
    colorDepthCombo_->setCurrentIndex(std::min<int>(DefaultMappingMethod, colorDepthCombo_->count() - 1));
    ImageChanged();
    SelectFrame(-1, true);
    UpdateCaption();
    SetStatus(kReady());
    modified_ = false;
    TranslateWindow(this, [this] { FitToTexts(); });
}

void TAnimatorForm::FitToTexts()
{
    // Every page counts, the ones a picture brings too: the window does not
    // grow when the first frame comes in. Words that grew on a page that does
    // not show reach no layout: the pages are measured again.
    pages_->updateGeometry();
    setFixedSize(designSize_.expandedTo(minimumSizeHint()));
}

void TAnimatorForm::BuildStorage()
{
    // The size is fixed at what the layout asks for, so it must be settled
    // first; the window has its place, so the store does not maximise it.
    adjustSize();
    designSize_ = size();
    layout()->setSizeConstraint(QLayout::SetNoConstraint);
    move(20, 20);
    storage_ = Named(new TFormStorage(this), "Storage");
    storage_->SetUseRegistry(true);
    storage_->SetPreventResize(true);
    speedBar_->SetIniStorage(storage_);
}

TAnimatorForm::~TAnimatorForm()
{
    image_->OnChange = nullptr;
    image_->OnProgress = nullptr;
}

void TAnimatorForm::BuildSpeedBar()
{
    speedBar_ = Named(new TSpeedBar(this), "SpeedBar");
    speedBar_->SetOptions(sbFlatBtns | sbGrayedBtns | sbTransparentBtns);
    toolbarImages_ = new vx::TImageList(16, 16, this);
    toolbarImages_->setObjectName("ToolbarImages");
    for (int i = 0; i < kAnimatorGlyphCount; ++i)
        toolbarImages_->Add(AnimatorGlyph(i));
    speedBar_->SetImages(toolbarImages_);
    const std::function<void()> commands[] = {
        [this] { NewCmd(); },     [this] { OpenCmd(); },      [this] { SaveCmd(); },
        [this] { SaveAsCmd(); },  [this] { InsertCmd(); },    [this] { CutCmd(); },
        [this] { CopyCmd(); },    [this] { PasteCmd(); },     [this] { DeleteCmd(); },
        [this] { MoveCmd(-1); },  [this] { MoveCmd(1); },     [this] { GrayscaleCmd(); },
        [this] { PreviewCmd(); }, [] {},
    };
    static_assert(std::size(commands) == std::size(kButtons));
    // Named, the sections' captions take the language with the buttons'.
    const auto addSection = [this](const char* caption) {
        const int index = speedBar_->AppendSection(caption);
        speedBar_->Sections(index)->setObjectName(QString(caption) + "Section");
        return index;
    };
    int section = addSection("File");
    int left = speedBar_->BtnOffsetHorz();
    for (size_t i = 0; i < std::size(kButtons); ++i) {
        auto* item = Named(new TSpeedItem(this), kButtons[i].name);
        speedBar_->AddItem(section, item);
        item->SetCaption(kButtons[i].text);
        item->SetHint(kButtons[i].text);
        item->SetImageIndex(int(i));
        item->SetLeft(left);
        item->SetVisible(true);
        item->SetOnClick([this, command = commands[i]](QObject*) { Run(command); });
        buttons_[i] = item;
        left += speedBar_->BtnWidth();
        if (kButtons[i].nextSection) {
            section = addSection(kButtons[i].nextSection);
            left += speedBar_->BtnWidth() / 2;
        }
    }
    speedBar_->OnDblClick = [this](QObject*) { CustomizeSpeedBar(); };
}

void TAnimatorForm::CustomizeSpeedBar()
{
    speedBar_->Customize(0);
    // The window is modal: its customisation window must be its own to take input.
    for (QWidget* top : QApplication::topLevelWidgets()) {
        auto* setup = dynamic_cast<TSpeedbarSetupWindow*>(top);
        if (setup && setup->SpeedBar() == speedBar_ && setup->parentWidget() != this) {
            setup->setParent(this, setup->windowFlags());
            setup->show();
        }
    }
}

QWidget* TAnimatorForm::BuildThumbnails()
{
    auto* strip = new QWidget(this);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QWidget(strip);
        panel->setObjectName(QString("Frame%1").arg(i + 1));
        auto* column = new QVBoxLayout(panel);
        auto* caption = new QHBoxLayout;
        frameLabels_[static_cast<size_t>(i)] = new QLabel("Frame #", panel);
        frameLabels_[static_cast<size_t>(i)]->setObjectName(QString("Frame%1Lbl").arg(i + 1));
        numbers_[static_cast<size_t>(i)] = new QLabel(panel);
        numbers_[static_cast<size_t>(i)]->setObjectName(QString("No%1").arg(i + 1));
        caption->addWidget(frameLabels_[static_cast<size_t>(i)]);
        caption->addWidget(numbers_[static_cast<size_t>(i)]);
        caption->addStretch();
        column->addLayout(caption);
        paintBoxes_[static_cast<size_t>(i)] = new TThumbnail(this, i);
        column->addWidget(paintBoxes_[static_cast<size_t>(i)], 1);
        row->addWidget(panel, 1);
    }
    return strip;
}

void TAnimatorForm::BuildPages()
{
    pages_ = Named(new QTabWidget(this), "Pages");
    // The window is as wide as its row of tabs: every tab shows.
    pages_->tabBar()->setUsesScrollButtons(false);
    optionsTab_ = BuildOptionsPage();
    animationTab_ = BuildAnimationPage();
    imageTab_ = BuildImagePage();
    pages_->addTab(optionsTab_, "Options");
    pages_->addTab(animationTab_, "Animation");
    pages_->addTab(imageTab_, "Image");
}

QWidget* TAnimatorForm::BuildOptionsPage()
{
    auto* page = Named(new QWidget(this), "OptionsTab");
    auto* form = new QFormLayout(page);
    colorDepthCombo_ = Named(new QComboBox(page), "ColorDepthCombo");
    colorDepthCombo_->addItems({"Frequency of use", "Quantizing", "Truncate 7x8x4", "Truncate 6x6x6", "Tripel "});
    form->addRow("Color Depth Method: ", colorDepthCombo_);
    thumbnailsBox_ = Named(new QCheckBox("Thumbnails Reflect Image Position", page), "ThumbnailsBox");
    thumbnailsBox_->setChecked(true);
    form->addRow(thumbnailsBox_);
    flatBtns_ = Named(new QCheckBox("Flat Toolbar Buttons ", page), "FlatBtns");
    flatBtns_->setChecked(true);
    form->addRow(flatBtns_);
    alwaysOnTop_ = Named(new QCheckBox("Main Dialog Window Always On Top", page), "AlwaysOnTop");
    form->addRow(alwaysOnTop_);
    return page;
}

QWidget* TAnimatorForm::BuildAnimationPage()
{
    auto* page = Named(new QWidget(this), "AnimationTab");
    auto* form = new QFormLayout(page);
    screenW_ = Named(new QLabel(page), "ScreenW");
    screenH_ = Named(new QLabel(page), "ScreenH");
    form->addRow("Screen Width:  ", screenW_);
    form->addRow("Screen Height:  ", screenH_);
    imageCount_ = Named(new QLabel(page), "ImageCount");
    form->addRow("Image Count:  ", imageCount_);
    gifVersion_ = Named(new QLabel(page), "GIFVersion");
    form->addRow("GIF Version:  ", gifVersion_);
    auto* back = new QHBoxLayout;
    backColor_ = Named(new QLineEdit(page), "BackColor");
    backColor_->setReadOnly(true);
    backColorBtn_ = Named(new QToolButton(page), "BackColorBtn");
    backColorBtn_->setText("...");
    back->addWidget(backColor_);
    back->addWidget(backColorBtn_);
    // A row of a layout gets a bare label: the mnemonic needs its buddy named.
    auto* backLbl = new QLabel("&Background Color:  ", page);
    backLbl->setBuddy(backColor_);
    form->addRow(backLbl, back);
    loopBox_ = Named(new QCheckBox("&Looping", page), "LoopBox");
    form->addRow(loopBox_);
    repeatForever_ = Named(new QCheckBox("Repeat &Forever", page), "RepeatForever");
    form->addRow(repeatForever_);
    repeatCnt_ = SpinBox(page, "RepeatCnt", 30000);
    loopLbl_ = Named(new QLabel("&Repeat Count: ", page), "LoopLbl");
    loopLbl_->setBuddy(repeatCnt_);
    form->addRow(loopLbl_, repeatCnt_);
    trailingComment_ = Named(new QPlainTextEdit(page), "TrailingComment");
    form->addRow("&Trailing Comment:  ", trailingComment_);
    return page;
}

QWidget* TAnimatorForm::BuildImagePage()
{
    auto* page = Named(new QWidget(this), "ImageTab");
    auto* grid = new QGridLayout(page);
    frameW_ = Named(new QLabel(page), "FrameW");
    frameH_ = Named(new QLabel(page), "FrameH");
    grid->addWidget(new QLabel("Width:  ", page), 0, 0);
    grid->addWidget(frameW_, 0, 1);
    grid->addWidget(new QLabel("Height:  ", page), 0, 2);
    grid->addWidget(frameH_, 0, 3);
    imageLeft_ = SpinBox(page, "ImageLeft", 32767);
    imageTop_ = SpinBox(page, "ImageTop", 32767);
    grid->addWidget(new QLabel("Left:  ", page), 1, 0);
    grid->addWidget(imageLeft_, 1, 1);
    grid->addWidget(new QLabel("Top:  ", page), 1, 2);
    grid->addWidget(imageTop_, 1, 3);
    delayTime_ = SpinBox(page, "DelayTime", 32767);
    grid->addWidget(new QLabel("Duration (1/100 s):  ", page), 2, 0);
    grid->addWidget(delayTime_, 2, 1);
    disposalCombo_ = Named(new QComboBox(page), "DisposalCombo");
    disposalCombo_->addItems({"Undefined", "Leave", "Restore Background", "Restore Previous"});
    grid->addWidget(new QLabel("Undraw Method:  ", page), 2, 2);
    grid->addWidget(disposalCombo_, 2, 3);
    transBox_ = Named(new QCheckBox("Transparency  ", page), "TransBox");
    grid->addWidget(transBox_, 3, 0);
    transColorLbl_ = Named(new QLabel("Transparent Color:  ", page), "TransColorLbl");
    grid->addWidget(transColorLbl_, 3, 1);
    auto* trans = new QHBoxLayout;
    transColor_ = Named(new QLineEdit(page), "TransColor");
    transColor_->setReadOnly(true);
    transColorBtn_ = Named(new QToolButton(page), "TransColorBtn");
    transColorBtn_->setText("...");
    trans->addWidget(transColor_);
    trans->addWidget(transColorBtn_);
    grid->addLayout(trans, 3, 2, 1, 2);
    frameComment_ = Named(new QPlainTextEdit(page), "FrameComment");
    grid->addWidget(new QLabel("Image Comment:  ", page), 4, 0);
    grid->addWidget(frameComment_, 4, 1, 1, 3);
    return page;
}
