#include "platform/Exception.h"
#include "platform/qt/Application.h"
#include "platform/qt/QtText.h"
#include "tests/platform/DialogRecorder.h"

#include <QCoreApplication>
#include <QEvent>
#include <gtest/gtest.h>

namespace {

// Throws from its event handler whatever the test asks for.
class Thrower : public QObject {
public:
    std::function<void()> onEvent;
    int handled = 0;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        ++handled;
        if (onEvent)
            onEvent();
        return true;
    }
};

bool deliver(Thrower& target)
{
    QEvent event(QEvent::User);
    return vx::DeliverShowingExceptions(
        [&] { return QCoreApplication::instance()->QCoreApplication::notify(&target, &event); });
}

} // namespace

TEST(Application, ExceptionsFromEventHandlersAreShownAndTheProgramGoesOn)
{
    vx::test::DialogRecorder dialogs;
    Thrower target;
    target.onEvent = [] { throw EConvertError("'abc' is not a valid integer value"); };
    EXPECT_FALSE(deliver(target));
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].text, "'abc' is not a valid integer value");
    EXPECT_EQ(dialogs.requests[0].caption, vx::FromQString(QCoreApplication::applicationName()));
    EXPECT_EQ(dialogs.requests[0].type, mtError);
    EXPECT_EQ(dialogs.requests[0].buttons, mbOK);

    target.onEvent = [] { throw std::runtime_error("from the standard library"); };
    deliver(target);
    target.onEvent = [] { throw 42; };
    deliver(target);
    target.onEvent = [] { throw EAbort("silent"); };
    deliver(target);
    ASSERT_EQ(dialogs.requests.size(), 3u) << "EAbort shows nothing";
    EXPECT_EQ(dialogs.requests[1].text, "from the standard library");
    EXPECT_EQ(dialogs.requests[2].text, "Unknown error");

    target.onEvent = nullptr;
    EXPECT_TRUE(deliver(target));
    EXPECT_EQ(target.handled, 5);
}
