// The base of the shell's own windows: a dialog that carries its component
// name, its caption and the language component that translates it.
#pragma once

#include <QDialog>

#include "localisation/FormatSettings.h"
#include "platform/TStringList.h"

#include <QString>

#include <functional>
#include <initializer_list>
#include <string>

class QBoxLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;
class TKMLang;

class TShellDialog : public QDialog {
public:
    TShellDialog(const char* name, const std::string& caption, QWidget* parent);

    TKMLang* KMLang1() const { return lang_; }
    // A push button named name with the caption, a child of parent (this
    // window when null). Enter in a field never presses it: the window says
    // what Enter does.
    QPushButton* AddButton(const char* name, const std::string& caption, QWidget* parent = nullptr);

    // The buttons side by side, as the last row of layout.
    static void AddButtonRow(QBoxLayout& layout, std::initializer_list<QPushButton*> buttons);

    // Runs each time the program shows the window.
    virtual void FormActivate() {}

protected:
    // Ends building the window: the language component translates it.
    void Loaded();
    // Lays the window out as the side picture "Image1" with a column beside
    // it; answers the column, which the window fills.
    QVBoxLayout* PictureAndColumn(QLabel*& picture);
    // The shared side picture of the dialogs into picture.
    static void ShowSidePicture(QLabel& picture);
    void showEvent(QShowEvent* event) override;

private:
    TKMLang* lang_;
};

// A text list of the given items, for item lists written in the window layouts.
TStringList MakeList(std::initializer_list<const char*> items);

// The time of day and today's date in the long time and short date formats
// of the settings: the chosen language's for what the windows show, the
// built-in ones for what the settings and the task list keep.
std::string LongTimeNow(const vx::TFormatSettings& settings = vx::FormatSettings());
std::string ShortDateToday(const vx::TFormatSettings& settings = vx::FormatSettings());

// The widget, carrying its component name.
template <class W> W* Named(W* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

// A handler for a Qt signal: what the command raises is shown in a message
// box and goes no further.
std::function<void()> Guarded(std::function<void()> command);
