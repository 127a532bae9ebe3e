// The builder of the command table: one QAction per item, named as in the
// table, in its menu, pop-up or tool-bar section.
#include "shell/qt/menu/MenuBuilder.h"

#include "controls/speedbar/SpeedBar.h"
#include "editor/qt/mwCustomEdit.h"
#include "localisation/qt/RunTimeTexts.h"
#include "platform/qt/QtText.h"
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/qt/windows/ShellDialog.h"
#include "shell/qt/menu/MenuCommands.h"
#include "shell/qt/menu/MenuHover.h"
#include "shell/menu/MenuTable.h"
#include "shell/qt/menu/ToolBarGlyphs.h"

#include <QAction>
#include <QDynamicPropertyChangeEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>
#include <map>
#include <string>
#include <string_view>

namespace vx::shell::menu {

namespace {

using TFormHandler = void (TForm1::*)();

// The main window's own handlers that table rows may name.
const std::map<std::string_view, TFormHandler>& FormHandlers()
{
    static const std::map<std::string_view, TFormHandler> handlers = {
        {"New1Click", &TForm1::New1Click},
        {"Fileopen1Click", &TForm1::Fileopen1Click},
        {"Save1Click", &TForm1::Save1Click},
        {"SaveAs1Click", &TForm1::SaveAs1Click},
        {"Closefile1Click", &TForm1::Closefile1Click},
        {"CloseAllfiles1Click", &TForm1::CloseAllfiles1Click},
        {"Exit1Click", &TForm1::Exit1Click},
        {"Prefferences1Click", &TForm1::Prefferences1Click},
        {"SpeedButton12Click", &TForm1::SpeedButton12Click},
        {"AdvancedNovice1Click", &TForm1::AdvancedNovice1Click},
    };
    return handlers;
}

// The tool bar's rows are laid out for a window this wide (less its frame).
constexpr int ToolBarRowWidth = 990;

// Why items are disabled; shown in the current language with the item's hint.
const TRunTimeText FilledAtRunTime{"filled at run time"};
const TRunTimeText DisabledInLayout{"disabled in the layout"};

// Marks an item whose hint is the reason it is disabled.
constexpr const char* ReasonShown = "vxReasonShown";

// Runs follow whenever the action's state or the reason it carries changes.
class TReasonWatch : public QObject {
public:
    TReasonWatch(QAction* action, std::function<void()> follow) : QObject(action), follow_(std::move(follow))
    {
        action->installEventFilter(this);
        connect(action, &QAction::changed, this, [this] { follow_(); });
        follow_();
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::DynamicPropertyChange &&
            static_cast<QDynamicPropertyChangeEvent*>(e)->propertyName() == DisabledReason)
            follow_();
        return false;
    }

private:
    std::function<void()> follow_;
};

QString ReasonOf(const QAction* action)
{
    return action->isEnabled() ? QString() : action->property(DisabledReason).toString();
}

// A disabled item says why: its reason is its hint (the status bar shows it
// while the mouse is on the item, and the translator translates it as the
// item's hint) and its tooltip. Enabled again, it drops both.
void ShowWhyDisabled(QAction* action)
{
    new TReasonWatch(action, [action] {
        const QString reason = ReasonOf(action);
        if (reason != action->property(ReasonShown).toString()) {
            action->setProperty(ReasonShown, reason);
            action->setStatusTip(TrQ(vx::FromQString(reason)));
        }
        action->setToolTip(reason.isEmpty() ? QString() : action->statusTip());
    });
}

bool IsToolBarRow(const TMenuRow& row)
{
    return std::string_view(row.Parent).starts_with(ToolBarPrefix);
}

class TBuilder {
public:
    explicit TBuilder(TForm1& form) : form_(form) {}

    void Build()
    {
        for (const TMenuRow& row : MenuRows())
            Make(row);
        // Aliases last, so that they start from their targets' final state.
        for (const TMenuRow& row : MenuRows())
            if (row.Kind != TKind::Alias)
                Bind(row);
        for (const TMenuRow& row : MenuRows())
            if (row.Kind == TKind::Alias)
                Bind(row);
    }

private:
    void Make(const TMenuRow& row)
    {
        const QString name = QString::fromLatin1(row.Name);
        const QString caption = vx::ToQString(row.Caption);
        if (row.Kind == TKind::Menu) {
            QMenu* menu = nullptr;
            if (std::string_view(row.Parent).empty()) {
                menu = Named(new QMenu(&form_), name);
            } else {
                QMenu* parent = ParentMenu(row);
                menu = parent ? parent->addMenu(caption) : form_.menuBar()->addMenu(caption);
                menu->setObjectName(name);
                menu->menuAction()->setObjectName(name);
            }
            menu->setTitle(caption);
            menu->setToolTipsVisible(true);
            new TMenuHover(*menu, form_);
            menus_[row.Name] = menu;
            ApplyFlags(row, menu->menuAction());
            return;
        }
        if (row.Kind == TKind::Separator) {
            ParentMenu(row)->addSeparator()->setObjectName(name);
            return;
        }
        auto* action = Named(new QAction(caption, &form_), name);
        // A tool button's own hint says why (below); its action is shown nowhere.
        if (!IsToolBarRow(row))
            ShowWhyDisabled(action);
        if (*row.Shortcut)
            action->setShortcut(QKeySequence(QString::fromLatin1(row.Shortcut)));
        // Shortcuts of pop-up and tool-bar items reach the window as those of the menu bar do.
        form_.addAction(action);
        // A hidden tool button hides its button only: the action stays available to aliases.
        if (IsToolBarRow(row)) {
            AddToolButton(row, action);
            action->setCheckable(row.Flags & rfCheckable);
        } else {
            ParentMenu(row)->addAction(action);
            ApplyFlags(row, action);
        }
        actions_[row.Name] = action;
    }

    QMenu* ParentMenu(const TMenuRow& row) const
    {
        const auto found = menus_.find(row.Parent);
        return found == menus_.end() ? nullptr : found->second;
    }

    static void ApplyFlags(const TMenuRow& row, QAction* action)
    {
        action->setCheckable(row.Flags & rfCheckable);
        action->setVisible(!(row.Flags & rfHidden));
    }

    // Sections follow one another in rows as wide as the narrowest window the
    // program is laid out for: a section that does not fit in what is left of
    // a row starts the next one, a grid step from the one before it.
    QPoint NextToolPlace(const TMenuRow& row)
    {
        const TSpeedBar* bar = form_.SpeedBar1;
        const int step = bar->BtnWidth() / 3;
        if (row.Parent != toolSection_) {
            const int width = SectionButtonCount(row.Parent) * bar->BtnWidth();
            if (!toolSection_.empty())
                toolPlace_.rx() += step;
            if (toolSection_.empty() || toolPlace_.x() + width > ToolBarRowWidth)
                toolPlace_ = QPoint(bar->BtnOffsetHorz(), toolSection_.empty() ? bar->BtnOffsetVert()
                                                                                 : toolPlace_.y() + bar->BtnHeight());
            toolSection_ = row.Parent;
        }
        if (toolPlace_.x() + bar->BtnWidth() > ToolBarRowWidth)
            toolPlace_ = QPoint(bar->BtnOffsetHorz(), toolPlace_.y() + bar->BtnHeight());
        const QPoint place = toolPlace_;
        toolPlace_.rx() += bar->BtnWidth();
        return place;
    }

    static int SectionButtonCount(std::string_view section)
    {
        return static_cast<int>(std::count_if(MenuRows().begin(), MenuRows().end(), [section](const TMenuRow& r) {
            return section == r.Parent && !(r.Flags & rfHidden);
        }));
    }

    void AddToolButton(const TMenuRow& row, QAction* action)
    {
        TSpeedBar* bar = form_.SpeedBar1;
        const std::string section = std::string(row.Parent).substr(std::string_view(ToolBarPrefix).size());
        int index = bar->SearchSection(section);
        if (index < 0)
            index = bar->AppendSection(section);
        auto* item = new TSpeedItem(&form_);
        item->setObjectName(QString::fromLatin1(row.Name));
        bar->AddItem(index, item);
        item->SetGlyph(ToolButtonGlyph(row.Name));
        if (!(row.Flags & rfHidden)) {
            const QPoint place = NextToolPlace(row);
            item->SetLeft(place.x());
            item->SetTop(place.y());
            item->SetVisible(true);
            bar->SetThickness(std::max(bar->Thickness(), place.y() + bar->BtnHeight() + bar->BtnOffsetVert()));
        }
        item->SetCaption(row.Caption);
        item->SetHint(row.Caption);
        // The item keeps its own caption and hint (translated as the item's);
        // it follows whether its command is available, and a disabled one says why.
        new TReasonWatch(action, [item, action] {
            item->SetEnabled(action->isEnabled());
            const QString reason = ReasonOf(action);
            if (item->property(ReasonShown).isValid() && item->property(ReasonShown).toString() == reason)
                return;
            item->setProperty(ReasonShown, reason);
            const std::string shown = item->Caption();
            item->SetHint(reason.isEmpty() ? shown : shown + " (" + Tr(vx::FromQString(reason)) + ")");
        });
        item->SetOnClick([action](QObject*) { action->trigger(); });
    }

    // The reason goes first: aliases copy it when the item changes.
    void Disable(QAction* action, const std::string& reason)
    {
        action->setProperty(DisabledReason, vx::ToQString(reason));
        action->setEnabled(false);
    }

    void Connect(QAction* action, TKind kind, std::function<void()> run)
    {
        action->setProperty(HandlerProperty, static_cast<int>(kind));
        QObject::connect(action, &QAction::triggered, &form_, Guarded(std::move(run)));
    }

    void Bind(const TMenuRow& row)
    {
        if (row.Kind == TKind::Menu) {
            if (row.Flags & rfDisabled)
                Disable(menus_[row.Name]->menuAction(), FilledAtRunTime.English());
            return;
        }
        const auto found = actions_.find(row.Name);
        if (found == actions_.end())
            return;
        QAction* action = found->second;
        TForm1& form = form_;
        const std::string arg = row.Arg;
        switch (row.Kind) {
        case TKind::Form: {
            const auto handler = FormHandlers().find(row.Arg);
            if (handler == FormHandlers().end()) {
                Disable(action, "no main-window handler " + arg);
                return;
            }
            Connect(action, row.Kind, [&form, method = handler->second] { (form.*method)(); });
            break;
        }
        case TKind::Command: {
            const TCommand command = FindCommand(row.Arg);
            if (!command) {
                Disable(action, "command not built yet: " + arg);
                return;
            }
            Connect(action, row.Kind, [&form, command, arg] { command(form, CommandArg(arg)); });
            break;
        }
        case TKind::Insert:
            Connect(action, row.Kind, [&form, arg] { form.insert_item(arg, 0); });
            break;
        case TKind::Wrap:
            Connect(action, row.Kind, [&form, arg, back = row.Back] { form.insert_item_2(arg, back); });
            break;
        case TKind::Template:
            Connect(action, row.Kind, [&form, arg] { form.append_lines(TemplateLines(arg, VersionText())); });
            break;
        case TKind::Alias:
            BindAlias(action, row);
            break;
        case TKind::Launcher:
            action->setProperty(LauncherProperty, QString::fromLatin1(row.Arg));
            Disable(action, "dialog " + arg + " opens through the launcher binding");
            break;
        case TKind::External:
            Disable(action, "bound by " + arg);
            break;
        case TKind::Inert:
            Disable(action, arg);
            break;
        case TKind::Menu:
        case TKind::Separator:
            break;
        }
        if (row.Flags & rfDisabled)
            Disable(action, DisabledInLayout.English());
    }

    // An alias runs its target and is available exactly while the target is.
    void BindAlias(QAction* action, const TMenuRow& row)
    {
        QAction* target = actions_.at(row.Arg);
        Connect(action, row.Kind, [target] { target->trigger(); });
        auto follow = [action, target] {
            action->setEnabled(target->isEnabled());
            action->setProperty(DisabledReason, target->property(DisabledReason));
        };
        QObject::connect(target, &QAction::changed, action, follow);
        follow();
    }

    static std::string VersionText()
    {
        const std::string product = std::string(ProductName) + " ";
        const std::string version = ProductVersion;
        return version.starts_with(product) ? version.substr(product.size()) : version;
    }

    TForm1& form_;
    std::string toolSection_;
    QPoint toolPlace_;
    std::map<std::string, QMenu*, std::less<>> menus_;
    std::map<std::string, QAction*, std::less<>> actions_;
};

} // namespace

void BuildMenus(TForm1& form)
{
    TBuilder(form).Build();
    form.ReOpen1 = PopupMenu(form, "ReOpen1");
    form.VellumixAssistant1 = form.findChild<QAction*>("VellumixAssistant1");
    form.AdvancedNovice1 = form.findChild<QAction*>("AdvancedNovice1");
    QMenu* editorMenu = PopupMenu(form, "PopupMenu1");
    for (TmwCustomEdit* editor : form.richedit)
        editor->SetPopupMenu(editorMenu);
}

QMenu* PopupMenu(const TForm1& form, const char* name)
{
    return form.findChild<QMenu*>(QString::fromLatin1(name));
}

} // namespace vx::shell::menu
