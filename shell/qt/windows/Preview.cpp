// The browser preview's window.
#include "shell/qt/windows/Preview.h"

#include "controls/flat/TFlatComboBoxUnit.h"
#include "platform/qt/PreviewHTML.h"
#include "platform/qt/QtText.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QShortcut>
#include <QShowEvent>
#include <QLabel>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <charconv>

Tfrm_preview* frm_preview = nullptr;

Tfrm_preview::Tfrm_preview(QWidget* parent) : TShellDialog("frm_preview", "", parent)
{
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint | Qt::WindowMinMaxButtonsHint);
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    const std::pair<const char*, QStyle::StandardPixmap> buttons[] = {
        {"Page Backward", QStyle::SP_ArrowBack},  {"Page forward", QStyle::SP_ArrowForward},
        {"Quit browsing", QStyle::SP_DialogCloseButton}, {"Refresh page", QStyle::SP_BrowserReload},
        {"Stop Browsing", QStyle::SP_BrowserStop},
    };
    QToolButton** made[] = {&ToolButton1, &ToolButton2, &ToolButton3, &ToolButton4, &ToolButton5};
    for (int i = 0; i < 5; ++i) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString("ToolButton%1").arg(i + 1));
        button->setToolTip(buttons[i].first);
        button->setIcon(style()->standardIcon(buttons[i].second));
        bar->addWidget(button);
        *made[i] = button;
    }
    bar->addWidget(Named(new QLabel("Resolution ->", this), "Label1"));
    ComboBox1 = Named(new TFlatComboBox(this), "ComboBox1");
    ComboBox1->setToolTip("Change viewing resolution (browser resize)");
    ComboBox1->Items().Assign(MakeList({"640*480", "800*600", "1024*768"}));
    bar->addWidget(ComboBox1);
    bar->addStretch();
    PreviewHTML1 = Named(new vx::TPreviewHTML(this), "PreviewHTML1");
    StatusBar1 = Named(new QStatusBar(this), "StatusBar1");
    layout->addLayout(bar);
    layout->addWidget(PreviewHTML1, 1);
    layout->addWidget(StatusBar1);
    resize(640, 480);
    // The browser takes every key it is given: Escape closes the window before it sees it.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QDialog::close);
    escape->setContext(Qt::WindowShortcut);

    connect(ToolButton1, &QToolButton::clicked, this, [this] { PreviewHTML1->GoBack(); });
    connect(ToolButton2, &QToolButton::clicked, this, [this] { PreviewHTML1->GoForward(); });
    connect(ToolButton3, &QToolButton::clicked, this, &QDialog::close);
    connect(ToolButton4, &QToolButton::clicked, this, [this] { PreviewHTML1->Refresh(); });
    connect(ToolButton5, &QToolButton::clicked, this, [this] { PreviewHTML1->Stop(); });
    connect(ComboBox1, &QComboBox::activated, this, [this](int index) { ComboBox1Change(index); });
    PreviewHTML1->OnTitleChange = [this](vx::TPreviewHTML&, const std::string& title) {
        setWindowTitle(vx::ToQString(title));
    };
    PreviewHTML1->OnStatusTextChange = [this](vx::TPreviewHTML&, const std::string& text) {
        StatusBar1->showMessage(vx::ToQString(text));
    };
    Loaded();
}

void Tfrm_preview::showEvent(QShowEvent* event)
{
    TShellDialog::showEvent(event);
    if (!event->spontaneous())
        activateWindow();
}

bool Tfrm_preview::event(QEvent* event)
{
    // The browser's first page makes the window anew, shown, for the
    // engine's kind of drawing; the old window took the keyboard with it.
    if (event->type() == QEvent::WinIdChange && internalWinId() && isVisible() &&
        QGuiApplication::applicationState() == Qt::ApplicationActive)
        activateWindow();
    return TShellDialog::event(event);
}

void Tfrm_preview::FormActivate()
{
    setWindowTitle("");
    ComboBox1->SetText(std::to_string(width()) + "*" + std::to_string(height()));
}

void Tfrm_preview::ComboBox1Change(int index)
{
    int w = 0;
    int h = 0;
    if (index < 0 || index >= ComboBox1->Items().Count() || !ParseResolution(ComboBox1->Items()[index], w, h))
        return;
    resize(w, h);
    move(1, 1);
}

bool ParseResolution(const std::string& text, int& width, int& height)
{
    const std::size_t star = text.find('*');
    if (star == std::string::npos)
        return false;
    const auto number = [](const char* first, const char* last, int& value) {
        const auto [end, error] = std::from_chars(first, last, value);
        return error == std::errc() && end == last && value > 0 && value <= 100000;
    };
    const char* begin = text.data();
    return number(begin, begin + star, width) && number(begin + star + 1, begin + text.size(), height);
}
