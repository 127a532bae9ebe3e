// The base of the shell's own windows.
#include "shell/qt/windows/ShellDialog.h"

#include "localisation/qt/KMLang.h"
#include "platform/qt/Application.h"
#include "platform/qt/QtText.h"
#include "shell/api/MainWindow.h"
#include "tools/DateTimeText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TShellDialog::TShellDialog(const char* name, const std::string& caption, QWidget* parent)
    : QDialog(parent), lang_(nullptr)
{
    setObjectName(name);
    setWindowTitle(vx::ToQString(caption));
    lang_ = new TKMLang(this);
    lang_->setObjectName("KMLang1");
}

QPushButton* TShellDialog::AddButton(const char* name, const std::string& caption, QWidget* parent)
{
    auto* button = new QPushButton(vx::ToQString(caption), parent ? parent : this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

void TShellDialog::AddButtonRow(QBoxLayout& layout, std::initializer_list<QPushButton*> buttons)
{
    auto* row = new QHBoxLayout;
    for (QPushButton* button : buttons)
        row->addWidget(button);
    layout.addLayout(row);
}

QVBoxLayout* TShellDialog::PictureAndColumn(QLabel*& picture)
{
    auto* outer = new QHBoxLayout(this);
    picture = Named(new QLabel(this), "Image1");
    outer->addWidget(picture);
    auto* column = new QVBoxLayout;
    outer->addLayout(column, 1);
    return column;
}

void TShellDialog::ShowSidePicture(QLabel& picture)
{
    if (vx::shell::IMainWindow* main = vx::shell::MainWindow())
        main->CopySidePicture(picture);
}

void TShellDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        vx::DeliverShowingExceptions([this] {
            FormActivate();
            return true;
        });
}

void TShellDialog::Loaded()
{
    lang_->Loaded();
}

TStringList MakeList(std::initializer_list<const char*> items)
{
    TStringList list;
    for (const char* item : items)
        list.Add(item);
    return list;
}

std::string LongTimeNow(const vx::TFormatSettings& settings)
{
    return vx::tools::FormatDateTime(settings.LongTimeFormat, vx::tools::ClockNow(), settings);
}

std::string ShortDateToday(const vx::TFormatSettings& settings)
{
    return vx::tools::FormatDateTime(settings.ShortDateFormat, vx::tools::ClockNow(), settings);
}

std::function<void()> Guarded(std::function<void()> command)
{
    return [command = std::move(command)] {
        vx::DeliverShowingExceptions([&] {
            command();
            return true;
        });
    };
}
