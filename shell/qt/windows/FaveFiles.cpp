// The favourite files' window.
#include "shell/qt/windows/FaveFiles.h"

#include "localisation/RunTimeText.h"
#include "platform/ProgramPaths.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "shell/qt/windows/ShellDialog.h"
#include "shell/api/MainWindow.h"

#include <QListWidget>
#include <QVBoxLayout>

namespace {

const TRunTimeFilter FaveFilter{
    "Active Server Files|*.asp;*.inc|Active Server Pages|*.asp|Active Server Includes|*.inc|Html "
    "files|*.htm;*.html;*.htc|Perl|*.pl;*.cgi;*.pm|CSS|*.css|PHP|*.php;*.php3;*.php2;*.php4|Vbscript|*.vbs|"
    "JavaScript|*.js|All webrelated|*.asp;*.inc;*.asa;*.htm;*.html"};

} // namespace

Tfrm_favefiles::Tfrm_favefiles(QWidget* parent)
    : GeneratorDialog("frm_favefiles", "Favourite files", parent),
      faves_(vx::UserDataPath("data\\faves.dat"))
{
    ListBox1 = Named(new QListWidget(this), "ListBox1");
    Client()->insertWidget(0, ListBox1, 1);
    SpeedButton1 = AddCommandButton("SpeedButton1", "Add file to list", [this] { SpeedButton1Click(); });
    SpeedButton2 = AddCommandButton("SpeedButton2", "Remove from list", [this] { SpeedButton2Click(); });
    SpeedButton3 = AddCommandButton("SpeedButton3", "Load file in editor", [this] { SpeedButton3Click(); });
    AddCloseButton("SpeedButton4", "&Close");
    resize(520, 320);
    Loaded();
}

void Tfrm_favefiles::Activated()
{
    faves_.Load();
    ShowList();
}

void Tfrm_favefiles::ShowList()
{
    ListBox1->clear();
    for (const std::string& item : faves_.Items())
        ListBox1->addItem(vx::ToQString(item));
}

void Tfrm_favefiles::SpeedButton1Click()
{
    const std::string path = vx::dialogs::OpenFile(OpenTitle(), FaveFilter(), "", "asp", 10);
    if (path.empty())
        return;
    faves_.Add(path);
    ShowList();
    ListBox1->setCurrentRow(ListBox1->count() - 1);
}

void Tfrm_favefiles::SpeedButton2Click()
{
    const int row = ListBox1->currentRow();
    if (row < 0 || !ListBox1->currentItem()->isSelected())
        return;
    faves_.Remove(row);
    ShowList();
}

void Tfrm_favefiles::SpeedButton3Click()
{
    const QListWidgetItem* item = ListBox1->currentItem();
    if (!item || !item->isSelected())
        return;
    if (vx::shell::IMainWindow* main = vx::shell::MainWindow())
        main->OpenDocumentInFreeSlot(faves_.Items()[ListBox1->currentRow()], false);
}
