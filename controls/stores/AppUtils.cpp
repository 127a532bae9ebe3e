// Settings names, INI/registry dispatch and window placement.
#include "controls/stores/AppUtils.h"

#include "platform/IniFile.h"
#include "platform/ProgramPaths.h"
#include "platform/qt/QtText.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTableView>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace vx {

std::string DefCompanyName;
bool RegUseAppTitle = false;

namespace {

const char* const kFlags = "Flags";
const char* const kShowCmd = "ShowCmd";
const char* const kPixels = "PixelsPerInch";
const char* const kMinMaxPos = "MinMaxPos";
const char* const kNormPos = "NormPos";

std::string ExecutableName()
{
    return FromQString(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
}

std::string WindowClassName(const QObject* window)
{
    std::string cls = window->metaObject()->className();
    if (!cls.empty() && cls[0] != 'Q')
        return cls;
    return "T" + FromQString(window->objectName());
}

int ScreenPixelsPerInch(const QWidget* form)
{
    const QScreen* screen = form ? form->screen() : QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(std::lround(screen->logicalDotsPerInch())) : 96;
}

// Four comma-separated integers; a missing word keeps its default, a bad one is 0.
void ParseFour(const std::string& text, int (&values)[4])
{
    if (text.empty())
        return;
    size_t at = 0;
    for (int i = 0; i < 4 && at <= text.size(); ++i) {
        size_t comma = text.find(',', at);
        std::string word = text.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
        values[i] = IniStrToIntDef(word, 0);
        if (comma == std::string::npos)
            break;
        at = comma + 1;
    }
}

std::string FormatFour(int a, int b, int c, int d)
{
    char text[64];
    std::snprintf(text, sizeof text, "%d,%d,%d,%d", a, b, c, d);
    return text;
}

bool NeedsQuotesInIni(const std::string& value)
{
    if (value.empty())
        return false;
    // The INI reader trims blanks and drops one pair of matching outer quotes.
    if (value.front() == ' ' || value.back() == ' ' || value.front() == '\t' || value.back() == '\t')
        return true;
    return value.size() >= 2 && value.front() == value.back() && (value.front() == '"' || value.front() == '\'');
}

} // namespace

std::string GetDefaultIniName()
{
    std::string name = ExecutableName();
    size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name + ".INI";
}

std::string GetDefaultIniRegKey()
{
    std::string name = ExecutableName();
    size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    if (RegUseAppTitle && !QCoreApplication::applicationName().isEmpty())
        name = FromQString(QCoreApplication::applicationName());
    std::string key = "Software\\";
    if (!DefCompanyName.empty())
        key += DefCompanyName + "\\";
    return key + name;
}

std::string GetDefaultSection(const QObject* component)
{
    if (!component)
        return {};
    std::string name = FromQString(component->objectName());
    if (const auto* widget = qobject_cast<const QWidget*>(component)) {
        if (widget->isWindow())
            return WindowClassName(widget);
        return WindowClassName(widget->window()) + name;
    }
    for (const QObject* owner = component->parent(); owner; owner = owner->parent())
        if (const auto* widget = qobject_cast<const QWidget*>(owner))
            return WindowClassName(widget->window()) + "." + name;
    return name;
}

std::string GetScreenSuffix()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    QSize size = screen ? screen->size() : QSize();
    char text[48];
    std::snprintf(text, sizeof text, "(%dx%d)", size.width(), size.height());
    return text;
}

std::string IniFilePath(const std::string& name)
{
    if (name.find_first_of("/\\") == std::string::npos)
        return JoinPath(ConfigFolder(), name);
    return NativePath(name);
}

std::string IniReadString(TCustomIniFile* ini, const std::string& section, const std::string& ident,
                          const std::string& def)
{
    return ini ? ini->ReadString(section, ident, def) : def;
}

void IniWriteString(TCustomIniFile* ini, const std::string& section, const std::string& ident,
                    const std::string& value)
{
    if (!ini)
        return;
    if (dynamic_cast<TIniFile*>(ini) && NeedsQuotesInIni(value))
        ini->WriteString(section, ident, "\"" + value + "\"");
    else
        ini->WriteString(section, ident, value);
}

int IniReadInteger(TCustomIniFile* ini, const std::string& section, const std::string& ident, int def)
{
    return ini ? ini->ReadInteger(section, ident, def) : def;
}

void IniWriteInteger(TCustomIniFile* ini, const std::string& section, const std::string& ident, int value)
{
    if (ini)
        ini->WriteInteger(section, ident, value);
}

void IniEraseSection(TCustomIniFile* ini, const std::string& section)
{
    if (ini)
        ini->EraseSection(section);
}

std::string IniReadStringScr(TCustomIniFile* ini, const std::string& section, const std::string& ident,
                             const std::string& def)
{
    std::string plain = IniReadString(ini, section, ident, def);
    return IniReadString(ini, section, ident + GetScreenSuffix(), plain);
}

void IniWriteStringScr(TCustomIniFile* ini, const std::string& section, const std::string& ident,
                       const std::string& value)
{
    IniWriteString(ini, section, ident + GetScreenSuffix(), value);
}

TWindowPlacement GetWindowPlacement(const QWidget* form)
{
    TWindowPlacement placement;
    placement.showCmd = form->isMinimized() ? 2 : form->isMaximized() ? 3 : 1;
    placement.pixelsPerInch = ScreenPixelsPerInch(form);
    QRect normal = form->geometry();
    if ((form->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        && form->normalGeometry().isValid())
        normal = form->normalGeometry();
    placement.normalPosition = normal;
    // A maximised window's border lies just outside the screen.
    QRect frame = form->frameGeometry();
    placement.maxPosition = QPoint(frame.x() - form->geometry().x(), frame.y() - form->geometry().y());
    return placement;
}

void WritePlacement(TCustomIniFile* ini, const std::string& section, const TWindowPlacement& p)
{
    IniWriteInteger(ini, section, kFlags, p.flags);
    IniWriteInteger(ini, section, kShowCmd, p.showCmd);
    IniWriteInteger(ini, section, kPixels, p.pixelsPerInch);
    std::string minMax = FormatFour(p.minPosition.x(), p.minPosition.y(), p.maxPosition.x(), p.maxPosition.y());
    const QRect& r = p.normalPosition;
    std::string norm = FormatFour(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
    IniWriteString(ini, section, kMinMaxPos, minMax);
    IniWriteStringScr(ini, section, kMinMaxPos, minMax);
    IniWriteString(ini, section, kNormPos, norm);
    IniWriteStringScr(ini, section, kNormPos, norm);
}

void WriteFormPlacement(const QWidget* form, TCustomIniFile* ini, const std::string& section)
{
    if (form)
        WritePlacement(ini, section, GetWindowPlacement(form));
}

QRect ClampToScreens(const QRect& rect)
{
    const QScreen* best = nullptr;
    long long bestArea = 0;
    for (const QScreen* screen : QGuiApplication::screens()) {
        QRect common = screen->availableGeometry().intersected(rect);
        long long area = static_cast<long long>(common.width()) * common.height();
        if (area > bestArea) {
            bestArea = area;
            best = screen;
        }
    }
    if (!best)
        best = QGuiApplication::primaryScreen();
    if (!best)
        return rect;
    QRect avail = best->availableGeometry();
    int width = std::min(rect.width(), avail.width());
    int height = std::min(rect.height(), avail.height());
    int left = std::clamp(rect.left(), avail.left(), avail.left() + avail.width() - width);
    int top = std::clamp(rect.top(), avail.top(), avail.top() + avail.height() - height);
    return QRect(left, top, width, height);
}

QWidget* ApplicationMainWindow()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(window))
            return window;
    return nullptr;
}

namespace {

bool StartsMaximised(const QWidget* form)
{
    const QWidget* main = ApplicationMainWindow();
    if (main && main != form)
        return false;
    const auto* window = qobject_cast<const QMainWindow*>(form);
    const bool mdiParent = window && qobject_cast<const QMdiArea*>(window->centralWidget());
    return mdiParent || !form->testAttribute(Qt::WA_Moved);
}

} // namespace

void ReadFormPlacement(QWidget* form, TCustomIniFile* ini, const std::string& section, bool loadState,
                       bool loadPosition, TWindowPlacement* read)
{
    if (!form || !ini || !(loadState || loadPosition))
        return;
    if (loadPosition) {
        if (read) {
            read->flags = IniReadInteger(ini, section, kFlags, read->flags);
            int points[4] = {read->minPosition.x(), read->minPosition.y(), read->maxPosition.x(),
                             read->maxPosition.y()};
            ParseFour(IniReadStringScr(ini, section, kMinMaxPos, ""), points);
            read->minPosition = QPoint(points[0], points[1]);
            read->maxPosition = QPoint(points[2], points[3]);
        }
        std::string minMax = IniReadStringScr(ini, section, kMinMaxPos, "");
        std::string norm = IniReadStringScr(ini, section, kNormPos, "");
        bool found = !minMax.empty() || !norm.empty();
        int screenPixels = ScreenPixelsPerInch(form);
        if (IniReadInteger(ini, section, kPixels, screenPixels) != screenPixels)
            found = false;
        QRect now = form->geometry();
        int edges[4] = {now.left(), now.top(), now.left() + now.width(), now.top() + now.height()};
        ParseFour(norm, edges);
        if (found && edges[2] > edges[0]) {
            QRect rect(edges[0], edges[1], edges[2] - edges[0], std::max(edges[3] - edges[1], 0));
            // A window of fixed size takes only the stored position.
            if (form->minimumSize() == form->maximumSize())
                rect.setSize(now.size());
            form->setGeometry(ClampToScreens(rect));
        }
    }
    if (loadState) {
        const Qt::WindowStates normal = form->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
        Qt::WindowStates state = StartsMaximised(form) ? normal | Qt::WindowMaximized : normal;
        bool minimiseApplication = false;
        const int showCmd = IniReadInteger(ini, section, kShowCmd, -1);
        if (read)
            read->showCmd = showCmd;
        switch (showCmd) {
        case 1:
        case 5:
        case 9:
            state = normal;
            break;
        case 2:
        case 6:
        case 7:
            state = normal | Qt::WindowMinimized;
            // The main window comes back normal; the application is what is minimised.
            if (form == ApplicationMainWindow()) {
                state = normal;
                minimiseApplication = true;
            }
            break;
        case 3:
            state = normal | Qt::WindowMaximized;
            break;
        default:
            break;
        }
        form->setWindowState(state);
        if (minimiseApplication)
            QMetaObject::invokeMethod(form, &QWidget::showMinimized, Qt::QueuedConnection);
        form->update();
    }
}

void SaveGridLayout(const QTableView* grid, TCustomIniFile* ini, const std::string& section)
{
    if (!grid || !grid->model())
        return;
    for (int i = 0; i < grid->model()->columnCount(); ++i)
        IniWriteInteger(ini, section, "Item" + std::to_string(i), grid->columnWidth(i));
}

void RestoreGridLayout(QTableView* grid, TCustomIniFile* ini, const std::string& section)
{
    if (!grid || !grid->model())
        return;
    for (int i = 0; i < grid->model()->columnCount(); ++i)
        grid->setColumnWidth(i, IniReadInteger(ini, section, "Item" + std::to_string(i), grid->columnWidth(i)));
}

} // namespace vx
