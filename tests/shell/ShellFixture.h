// The windows of a started program on a fresh settings store and a program
// folder of its own, with every dialog answered by the test.
#pragma once

#include "editor/qt/mwCustomEdit.h"
#include "platform/Registry.h"
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/qt/mainwindow/MainFormCommands.h"
#include "shell/qt/mainwindow/Startup.h"
#include "tests/controls/WaitFor.h"
#include "tests/platform/DialogRecorder.h"
#include "tests/platform/RegistrySandbox.h"
#include "tests/support/TempDir.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vx::test {

// Points an environment variable at a fresh folder while the object lives.
class FolderSandbox {
public:
    FolderSandbox(const char* variable, const char* prefix) : variable_(variable), dir_(prefix)
    {
        const char* old = std::getenv(variable);
        old_ = old ? old : "";
        setenv(variable, dir_.path().c_str(), 1);
    }
    ~FolderSandbox() { setenv(variable_, old_.c_str(), 1); }
    FolderSandbox(const FolderSandbox&) = delete;
    FolderSandbox& operator=(const FolderSandbox&) = delete;

    std::string File(const std::string& name) const { return dir_.file(name); }

private:
    const char* variable_;
    TempDir dir_;
    std::string old_;
};

// $VELLUMIX_HOME points at a fresh program folder with an empty data folder.
class HomeSandbox : public FolderSandbox {
public:
    HomeSandbox() : FolderSandbox("VELLUMIX_HOME", "vellumix-program")
    {
        std::filesystem::create_directories(File("data"));
    }
    std::string Data(const std::string& name) const { return File("data/" + name); }
};

// $VELLUMIX_DATA points at a fresh, empty user data folder.
class UserDataSandbox : public FolderSandbox {
public:
    UserDataSandbox() : FolderSandbox("VELLUMIX_DATA", "vellumix-userdata") {}
};

// With $VX_SHELL_SHOT naming a folder, the window as it shows now is saved
// there as <name>.png (run under xvfb-run with QT_QPA_PLATFORM=xcb for a
// picture of the real screen's fonts and look).
inline void SaveShot(QWidget& window, const char* name)
{
    const char* folder = std::getenv("VX_SHELL_SHOT");
    if (!folder || !*folder)
        return;
    const std::string path = std::string(folder) + "/" + name + ".png";
    EXPECT_TRUE(window.grab().save(QString::fromStdString(path), "PNG")) << path;
}

// Sets when the file was last changed to a moment of local time: what a
// window writes of it then does not hang on the zone the test runs in.
inline void SetChangedAt(const std::string& path, int year, int month, int day, int hour, int minute)
{
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_isdst = -1;
    const auto moment = std::chrono::system_clock::from_time_t(std::mktime(&local));
    std::filesystem::last_write_time(path, std::chrono::file_clock::from_sys(moment));
}

// A left click on the button, as the user gives it.
inline void PressButton(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

// A left click in the middle of the row of a list or tree.
inline void ClickRow(QAbstractItemView& view, int row)
{
    const QModelIndex index = view.model()->index(row, 0);
    ASSERT_TRUE(index.isValid()) << "row " << row;
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(index).center());
}

// Drops the files on the widget as a file manager does: the drag enters, then drops.
inline void DropFiles(QWidget& target, const std::vector<std::string>& files)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& file : files)
        urls.append(QUrl::fromLocalFile(QString::fromStdString(file)));
    data.setUrls(urls);
    const Qt::DropActions all = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragEnterEvent enter(QPoint(5, 5), all, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&target, &enter);
    QDropEvent drop(QPointF(5, 5), all, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&target, &drop);
}

// Selects columns from..to of a line, the caret at the end.
inline void SelectRange(TmwCustomEdit& editor, int line, int from, int to)
{
    editor.Model().SetCaretXY(Point(to, line));
    editor.Model().SetBlockBegin(Point(from, line));
    editor.Model().SetBlockEnd(Point(to, line));
}

class ShellTest : public ::testing::Test {
protected:
    void Start()
    {
        form.reset(CreateMainWindows([this](int gauge, const char* label) {
            gauges.push_back(gauge);
            if (label)
                labels.emplace_back(label);
        }));
    }
    void StartAndActivate(std::vector<std::string> commandLine = {})
    {
        Start();
        form->CommandLine = std::move(commandLine);
        form->FormActivate();
    }
    // The main window shown, active, and the slot's tab current with its editor focused.
    void Focus(TmwCustomEdit* editor)
    {
        form->show();
        form->activateWindow();
        QApplication::processEvents();
        editor->setFocus();
        QApplication::processEvents();
    }
    // The menu item the main menu makes under that name, bound as the program binds it.
    QAction* MenuCommand(const char* name, const char* shortcut = "")
    {
        if (auto* made = form->findChild<QAction*>(name))
            return made;
        auto* action = new QAction(form.get());
        action->setObjectName(name);
        action->setShortcut(QKeySequence(shortcut));
        action->setEnabled(false);
        form->addAction(action);
        vx::shell::BindMainCommands(*form);
        return action;
    }
    // Acts on the modal window the next step opens, once it is up; a step
    // that opens none fails the test.
    static void WhenModal(std::function<void(QWidget&)> act)
    {
        QTimer::singleShot(0, [act = std::move(act)] {
            QWidget* window = QApplication::activeModalWidget();
            EXPECT_NE(window, nullptr) << "no modal window came up";
            if (window)
                act(*window);
        });
    }
    // Answers the next modal dialog of type D through its own widgets, once it is up.
    template <class D, class F> void AnswerNext(F answer)
    {
        auto* poll = new QTimer(form.get());
        QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
            auto* dialog = dynamic_cast<D*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            poll->stop();
            poll->deleteLater();
            answer(*dialog);
        });
        poll->start(5);
    }
    // Opens the file into a free slot and gives that slot's editor the focus.
    void OpenAndFocus(const std::string& path)
    {
        form->OpenDocumentInFreeSlot(path, false);
        for (int slot = 1; slot <= TForm1::SlotCount; ++slot)
            if (form->SlotFileName(slot) == path)
                Focus(form->SlotEditor(slot));
    }
    std::string Text(TmwCustomEdit* editor) const { return editor->Model().GetText(); }
    std::string WriteDoc(const std::string& name, const std::string& bytes) const
    {
        const std::string path = docs.file(name);
        writeFile(path, bytes);
        return path;
    }

    RegistrySandbox registry;
    HomeSandbox home;
    UserDataSandbox userData;
    TempDir docs{"vellumix-docs"};
    DialogRecorder dialogs;
    std::unique_ptr<TForm1> form;
    std::vector<int> gauges;
    std::vector<std::string> labels;
};

} // namespace vx::test
