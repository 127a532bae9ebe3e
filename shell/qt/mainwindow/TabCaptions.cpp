// The document tabs' captions in the current language.
#include "shell/qt/mainwindow/TabCaptions.h"

#include "localisation/RunTimeText.h"
#include "localisation/qt/KMLang.h"
#include "platform/qt/QtText.h"
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/qt/mainwindow/StatusBar.h"
#include "shell/StatusText.h"

namespace vx::shell {

namespace {

const TRunTimeText EmptyTab{"<empty>"};

void FollowLanguage(TForm1& form)
{
    for (int slot = 1; slot <= TForm1::SlotCount; ++slot)
        if (form.SlotFileName(slot).empty())
            form.PageControl1->setTabText(slot - 1, EmptyTabCaption());
    const TMainPanels layout = CurrentMainPanelLayout();
    for (std::size_t k = 0; k < form.Workspaces().size(); ++k) {
        form.PageControl1->setTabText(TForm1::SlotCount + static_cast<int>(k), EmptyTabCaption());
        if (auto* status = form.findChild<TStatusBar*>(QString("statusbar_%1").arg(k + 1)))
            for (int i = 0; i < status->PanelCount() && i < MainPanelCount; ++i)
                status->SetPanelText(i, layout[static_cast<std::size_t>(i)]);
    }
}

} // namespace

void TDocumentTabs::setTabText(int index, const QString& caption)
{
    QString shown = caption;
    QTabWidget::setTabText(index, shown.replace(QLatin1Char('&'), QLatin1String("&&")));
}

QString EmptyTabCaption()
{
    return ToQString(EmptyTab());
}

void TieTabsToLanguage(TForm1& form, TKMLang& language)
{
    language.AfterTrans = [&form](const std::string&) { FollowLanguage(form); };
}

} // namespace vx::shell
