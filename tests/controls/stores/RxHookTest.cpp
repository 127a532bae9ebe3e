#include "controls/stores/RxHook.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QMainWindow>
#include <QSizeGrip>
#include <QStatusBar>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>

namespace {

const auto kProbe = static_cast<QEvent::Type>(QEvent::User + 7);

// A widget that writes down the probe events it handles.
class TRecordingWidget : public QWidget {
public:
    explicit TRecordingWidget(std::string* log) : log_(log) {}

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == kProbe)
            *log_ += "W;";
        return QWidget::event(e);
    }

private:
    std::string* log_;
};

void Record(TRxWindowHook& hook, std::string* log, const std::string& name, bool handle = false)
{
    hook.BeforeMessage = [=](QObject*, QEvent* e, bool& handled) {
        if (e->type() != kProbe)
            return;
        *log += name + "<;";
        handled = handle;
    };
    hook.AfterMessage = [=](QObject*, QEvent* e, bool&) {
        if (e->type() == kProbe)
            *log += name + ">;";
    };
}

// An event filter installed on the widget before any hook, as the toolkit's
// own helpers (a size grip on its window) install them.
class TRecordingFilter : public QObject {
public:
    explicit TRecordingFilter(std::string* log) : log_(log) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == kProbe)
            *log_ += "F;";
        return false;
    }

private:
    std::string* log_;
};

void Probe(QWidget* widget)
{
    QEvent probe(kProbe);
    QCoreApplication::sendEvent(widget, &probe);
}

} // namespace

TEST(TRxWindowHook, HooksRunLastAttachedFirstAroundTheWidget)
{
    std::string log;
    TRecordingWidget widget(&log);
    TRxWindowHook first, second;
    EXPECT_TRUE(first.Active());
    Record(first, &log, "1");
    Record(second, &log, "2");
    first.SetWinControl(&widget);
    second.SetWinControl(&widget);
    Probe(&widget);
    EXPECT_EQ(log, "2<;1<;W;2>;1>;");
}

TEST(TRxWindowHook, HandledKeepsTheEventFromEarlierHooksAndTheWidget)
{
    std::string log;
    TRecordingWidget widget(&log);
    TRxWindowHook first, second;
    Record(first, &log, "1");
    Record(second, &log, "2", true);
    first.SetWinControl(&widget);
    second.SetWinControl(&widget);
    Probe(&widget);
    EXPECT_EQ(log, "2<;2>;1>;");
}

TEST(TRxWindowHook, DestroyingEventAlwaysReachesTheWidget)
{
    std::string log;
    QPointer<QWidget> widget = new TRecordingWidget(&log);
    TRxWindowHook hook;
    hook.BeforeMessage = [](QObject*, QEvent*, bool& handled) { handled = true; };
    hook.SetWinControl(widget);
    Probe(widget);
    EXPECT_EQ(log, "") << "handled: the widget saw nothing";
    widget->deleteLater();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(widget.isNull());
    EXPECT_EQ(hook.WinControl(), nullptr) << "a destroyed widget is forgotten";
}

TEST(TRxWindowHook, DetachingStopsTheCalls)
{
    std::string log;
    TRecordingWidget widget(&log);
    TRxWindowHook hook;
    Record(hook, &log, "1");
    hook.SetWinControl(&widget);
    hook.SetActive(false);
    Probe(&widget);
    EXPECT_EQ(log, "W;");

    log.clear();
    hook.SetActive(true);
    auto other = std::make_unique<TRxWindowHook>();
    Record(*other, &log, "2");
    other->SetWinControl(&widget);
    other.reset();
    Probe(&widget);
    EXPECT_EQ(log, "1<;W;1>;") << "a destroyed hook is detached";

    log.clear();
    QWidget elsewhere;
    hook.SetWinControl(&elsewhere);
    Probe(&widget);
    EXPECT_EQ(log, "W;") << "moving the hook leaves the old widget unhooked";
}

TEST(TRxWindowHook, AHookMayDetachWhileAnEventRuns)
{
    std::string log;
    TRecordingWidget widget(&log);
    auto hook = std::make_unique<TRxWindowHook>();
    hook->BeforeMessage = [&](QObject*, QEvent* e, bool&) {
        if (e->type() == kProbe)
            hook.reset();
    };
    hook->SetWinControl(&widget);
    Probe(&widget);
    EXPECT_EQ(log, "W;");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    log.clear();
    Probe(&widget);
    EXPECT_EQ(log, "W;");
}

TEST(TRxWindowHook, FiltersInstalledBeforeTheHooksStillSeeTheEvents)
{
    std::string log;
    TRecordingWidget widget(&log);
    TRecordingFilter filter(&log);
    widget.installEventFilter(&filter);
    TRxWindowHook first, second;
    Record(first, &log, "1");
    Record(second, &log, "2");
    first.SetWinControl(&widget);
    second.SetWinControl(&widget);
    Probe(&widget);
    EXPECT_EQ(log, "2<;1<;F;W;2>;1>;") << "once each, between the hooks' before and after";
    log.clear();
    Record(second, &log, "2", true);
    Probe(&widget);
    EXPECT_EQ(log, "2<;2>;1>;") << "a handled event goes no further down";
    second.SetActive(false);
    first.SetActive(false);
    log.clear();
    Probe(&widget);
    EXPECT_EQ(log, "F;W;");
}

TEST(TRxWindowHook, AHookedWindowsSizeGripStillHidesWhenMaximised)
{
    QMainWindow window;
    window.statusBar()->setSizeGripEnabled(true);
    TRxWindowHook hook;
    int seen = 0;
    hook.BeforeMessage = [&](QObject*, QEvent* e, bool&) {
        if (e->type() == QEvent::WindowStateChange)
            ++seen;
    };
    hook.SetWinControl(&window);
    window.show();
    QCoreApplication::processEvents();
    auto* grip = window.statusBar()->findChild<QSizeGrip*>();
    ASSERT_NE(grip, nullptr);
    EXPECT_TRUE(grip->isVisible());
    window.setWindowState(Qt::WindowMaximized);
    QCoreApplication::processEvents();
    EXPECT_GT(seen, 0);
    EXPECT_FALSE(grip->isVisible()) << "the grip's own filter on the window saw the change";
}
