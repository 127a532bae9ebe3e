#include "controls/dragdrop/agDragDrop.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

namespace {

std::unique_ptr<QMimeData> FileDrag(const std::vector<QString>& paths)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString& p : paths)
        urls << QUrl::fromLocalFile(p);
    data->setUrls(urls);
    return data;
}

// Sends one drag step to the widget the way the window system does; true when accepted.
bool Send(QWidget& w, QEvent::Type type, const QMimeData* data, Qt::KeyboardModifiers keys = {},
          Qt::DropAction* action = nullptr)
{
    if (type == QEvent::DragLeave) {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(&w, &leave);
        return leave.isAccepted();
    }
    const QPointF at(5, 6);
    const Qt::DropActions all = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    std::unique_ptr<QDropEvent> event;
    if (type == QEvent::DragEnter)
        event = std::make_unique<QDragEnterEvent>(at.toPoint(), all, data, Qt::LeftButton, keys);
    else if (type == QEvent::DragMove)
        event = std::make_unique<QDragMoveEvent>(at.toPoint(), all, data, Qt::LeftButton, keys);
    else
        event = std::make_unique<QDropEvent>(at, all, data, Qt::LeftButton, keys);
    event->setAccepted(false);
    QCoreApplication::sendEvent(&w, event.get());
    if (action)
        *action = event->dropAction();
    return event->isAccepted();
}

struct Recorder {
    std::vector<std::string> log;
    std::vector<int> dropTypes;
    std::vector<std::string> dropped;
    QPoint point;

    void Attach(TagDropFileTarget& t)
    {
        t.OnEnter = [this](QObject*, TStringList& files) { log.push_back("enter " + std::to_string(files.Count())); };
        t.OnDragOver = [this](QObject*) { log.push_back("over"); };
        t.OnLeave = [this](QObject*) { log.push_back("leave"); };
        t.OnDrop = [this](QObject*, int type, QPoint at, TStringList& files) {
            dropTypes.push_back(type);
            point = at;
            for (int i = 0; i < files.Count(); ++i)
                dropped.push_back(files[i]);
        };
    }
};

} // namespace

TEST(TDropFileTarget, DropEffectRules)
{
    struct Row {
        TDragTypes types;
        int keys;
        int effect;
    };
    const Row rows[] = {
        {dtCopy | dtMove | dtLink, 0, DROPEFFECT_COPY},
        {dtCopy | dtMove | dtLink, MK_SHIFT, DROPEFFECT_MOVE},
        {dtCopy | dtMove | dtLink, MK_SHIFT | MK_CONTROL, DROPEFFECT_LINK},
        {dtCopy | dtMove | dtLink, MK_CONTROL, DROPEFFECT_COPY},
        {dtCopy, MK_SHIFT, DROPEFFECT_COPY},
        {dtCopy | dtMove, MK_SHIFT | MK_CONTROL, DROPEFFECT_COPY},
        {dtMove, 0, DROPEFFECT_MOVE},
        {dtLink, 0, DROPEFFECT_NONE},
        {0, MK_SHIFT, DROPEFFECT_NONE},
    };
    QWidget w;
    TagDropFileTarget target;
    target.SetTarget(&w);
    auto data = FileDrag({"/tmp/a.txt"});
    for (const Row& r : rows) {
        target.SetDragtypes(r.types);
        int effect = -1;
        target.DragEnter(data.get(), r.keys, {}, effect);
        EXPECT_EQ(effect, r.effect) << "types " << r.types << " keys " << r.keys;
        target.DragLeave();
    }
    target.SetDragtypes(dtCopy | dtMove | dtLink);
    target.OnGetDropEffect = [](QObject*, int keys, int& effect) {
        if (keys & MK_CONTROL)
            effect = DROPEFFECT_MOVE;
    };
    int effect = 0;
    target.DragEnter(data.get(), MK_CONTROL, {}, effect);
    EXPECT_EQ(effect, DROPEFFECT_MOVE) << "OnGetDropEffect has the last word";
}

TEST(TDropFileTarget, DroppingFilesThroughQtEvents)
{
    QWidget w;
    TagDropFileTarget target;
    EXPECT_TRUE(target.Enabled());
    EXPECT_FALSE(target.Registered());
    target.SetTarget(&w);
    EXPECT_TRUE(target.Registered());
    EXPECT_TRUE(w.acceptDrops());
    Recorder rec;
    rec.Attach(target);
    target.SetGetDataOnEnter(true);

    auto data = FileDrag({"/tmp/one.htm", QString::fromUtf8("/tmp/caf\xC3\xA9.htm")});
    ASSERT_TRUE(Send(w, QEvent::DragEnter, data.get()));
    EXPECT_TRUE(Send(w, QEvent::DragMove, data.get()));
    Qt::DropAction action = Qt::IgnoreAction;
    EXPECT_TRUE(Send(w, QEvent::Drop, data.get(), Qt::ShiftModifier, &action));
    EXPECT_EQ(action, Qt::MoveAction);
    EXPECT_EQ(rec.log, (std::vector<std::string>{"enter 2", "over"}));
    ASSERT_EQ(rec.dropTypes, std::vector<int>{1});
    EXPECT_EQ(rec.dropped, (std::vector<std::string>{"/tmp/one.htm", "/tmp/caf\xC3\xA9.htm"}))
        << "names arrive as the file system spells them, to be opened as they are";
    EXPECT_EQ(rec.point, w.mapToGlobal(QPoint(5, 6)));
}

TEST(TDropFileTarget, TextDragShowsNoDropAndNeverDrops)
{
    QWidget w;
    TagDropFileTarget target;
    target.SetTarget(&w);
    Recorder rec;
    rec.Attach(target);
    QMimeData text;
    text.setText("hello");
    EXPECT_FALSE(Send(w, QEvent::DragEnter, &text));
    EXPECT_FALSE(Send(w, QEvent::DragMove, &text));
    EXPECT_FALSE(Send(w, QEvent::Drop, &text));
    EXPECT_TRUE(rec.dropTypes.empty());
    EXPECT_TRUE(rec.log.empty()) << "no enter, and no over without a held drag";

    int effect = 0;
    EXPECT_EQ(target.DragEnter(&text, 0, {}, effect), DV_E_FORMATETC);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_EQ(target.Drop(&text, 0, {}, effect), E_FAIL);
}

TEST(TDropFileTarget, ShiftWithCopyOnlyDropsAsCopy)
{
    QWidget w;
    TagDropFileTarget target;
    target.SetTarget(&w);
    target.SetDragtypes(dtCopy);
    Recorder rec;
    rec.Attach(target);
    auto data = FileDrag({"/tmp/x"});
    ASSERT_TRUE(Send(w, QEvent::DragEnter, data.get(), Qt::ShiftModifier));
    Qt::DropAction action = Qt::IgnoreAction;
    EXPECT_TRUE(Send(w, QEvent::Drop, data.get(), Qt::ShiftModifier, &action));
    EXPECT_EQ(action, Qt::CopyAction);
    EXPECT_EQ(rec.dropTypes, std::vector<int>{0});

    target.SetDragtypes(dtLink);
    ASSERT_TRUE(Send(w, QEvent::DragEnter, data.get(), Qt::ShiftModifier | Qt::ControlModifier));
    EXPECT_TRUE(Send(w, QEvent::Drop, data.get(), Qt::ShiftModifier | Qt::ControlModifier));
    EXPECT_EQ(rec.dropTypes.back(), 2);
}

TEST(TDropFileTarget, RegistrationFollowsEnabledAndTarget)
{
    auto w = std::make_unique<QWidget>();
    QWidget other;
    TagDropFileTarget target;
    Recorder rec;
    rec.Attach(target);
    target.SetTarget(w.get());
    target.SetEnabled(false);
    EXPECT_FALSE(target.Registered());
    EXPECT_FALSE(w->acceptDrops());
    auto data = FileDrag({"/tmp/x"});
    EXPECT_FALSE(Send(*w, QEvent::DragEnter, data.get()));
    EXPECT_TRUE(rec.log.empty()) << "a revoked target hears nothing";
    target.SetEnabled(true);
    EXPECT_TRUE(target.Registered());
    EXPECT_TRUE(Send(*w, QEvent::DragEnter, data.get()));
    Send(*w, QEvent::DragLeave, nullptr);

    target.SetTarget(&other);
    EXPECT_FALSE(w->acceptDrops());
    EXPECT_TRUE(other.acceptDrops());
    target.SetTarget(w.get());
    w.reset();
    EXPECT_EQ(target.Target(), nullptr) << "a destroyed target is forgotten";
    EXPECT_FALSE(target.Registered());
    target.SetEnabled(true);
    EXPECT_FALSE(target.Registered());
}
