// Binding the commands to their launchers and running the common steps.
#include "shell/qt/launch/Launchers.h"

#include "controls/speedbar/SpeedBar.h"
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/qt/windows/ShellDialog.h"
#include "shell/qt/launch/LauncherTable.h"
#include "shell/qt/menu/MenuBuilder.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>

#include <functional>
#include <memory>

namespace vx::shell {

namespace {

TDialogHost& Host()
{
    static TDialogHost host;
    return host;
}

int ShowModal(QDialog& dialog)
{
    return Host() ? Host()(dialog) : dialog.exec();
}

std::string LauncherOf(const QObject& command)
{
    return command.property(LauncherProperty).toString().toStdString();
}

} // namespace

int LaunchRow(TForm1& form, const TLauncherRow& row, std::string argument)
{
    TLaunch launch{form, form.ActiveEditor(), std::move(argument)};
    if (row.Guard && !row.Guard(launch))
        return QDialog::Rejected;
    std::unique_ptr<QDialog> dialog(row.Make(&form));
    launch.Dialog = dialog.get();
    if (row.HandIn)
        row.HandIn(launch);
    launch.Result = ShowModal(*dialog);
    if (row.TakeResult && launch.Accepted())
        row.TakeResult(launch);
    if (row.AfterClose)
        row.AfterClose(launch);
    return launch.Result;
}

namespace {

void Connect(TForm1& form, QAction* action, std::function<void()> run)
{
    QObject::connect(action, &QAction::triggered, &form, std::move(run));
}

void Connect(TForm1& form, QAbstractButton* button, std::function<void()> run)
{
    QObject::connect(button, &QAbstractButton::clicked, &form, std::move(run));
}

void Connect(TForm1&, TSpeedItem* item, std::function<void()> run)
{
    item->SetOnClick([run = std::move(run)](QObject*) { run(); });
}

void SetEnabled(QAction* action, bool enabled)
{
    action->setEnabled(enabled);
}

void SetEnabled(QWidget* widget, bool enabled)
{
    widget->setEnabled(enabled);
}

void SetEnabled(TSpeedItem* item, bool enabled)
{
    item->SetEnabled(enabled);
}

template <class Command> void Bind(TForm1& form, Command* command)
{
    const std::string dialogClass = LauncherOf(*command);
    const bool available = LauncherAvailable(dialogClass);
    if (available) {
        // Cleared before enabling: aliases copy the reason when their target changes.
        command->setProperty(menu::DisabledReason, QVariant());
        command->setProperty(menu::HandlerProperty, QString::fromStdString(dialogClass));
    }
    SetEnabled(command, available);
    if (available)
        Connect(form, command, Guarded([&form, dialogClass] { RunLauncher(form, dialogClass); }));
    else // beginner mode must not bring back a command whose dialog does not exist
        command->setProperty(TForm1::BeginnerTag, 0);
}

// Speed items carry no meta-object of their own: found by their C++ type.
void BindCommand(TForm1& form, QObject* command)
{
    if (!command->property(LauncherProperty).isValid())
        return;
    if (auto* action = qobject_cast<QAction*>(command))
        Bind(form, action);
    else if (auto* button = qobject_cast<QAbstractButton*>(command))
        Bind(form, button);
    else if (auto* item = dynamic_cast<TSpeedItem*>(command))
        Bind(form, item);
}

} // namespace

void SetDialogHost(TDialogHost host)
{
    Host() = std::move(host);
}

bool LauncherAvailable(std::string_view dialogClass)
{
    const TLauncherRow* row = FindLauncher(dialogClass);
    return row && row->Make;
}

void RunLauncher(TForm1& form, std::string_view dialogClass, std::string_view argument)
{
    const TLauncherRow* row = FindLauncher(dialogClass);
    if (!row || !row->Make)
        return;
    if (row->Run)
        row->Run(form);
    else
        LaunchRow(form, *row, std::string(argument));
}

void BindLaunchers(TForm1& form)
{
    for (QObject* command : form.findChildren<QObject*>())
        BindCommand(form, command);
    if (const TLauncherRow* page = FindLauncher("Tfrm_newpage"); page && page->Make)
        form.SetNewPageWizard([&form, page] {
            return LaunchRow(form, TLauncherRow{page->DialogClass, page->Make}) == QDialog::Accepted;
        });
}

} // namespace vx::shell
