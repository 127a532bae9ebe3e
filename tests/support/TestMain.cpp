// Test entry point: every suite runs with a QApplication on the offscreen platform
// and with its own temporary program folder and settings store, so no test ever
// touches the user's settings.
#include "tests/support/TempDir.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

QtMessageHandler previousHandler = nullptr;
int connectWarnings = 0;

// A refused connection leaves a component deaf to what it watches, and Qt only
// prints a warning: such a warning fails the test that caused it, and the run.
void FailOnConnectWarning(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.contains(QLatin1String("QObject::connect"))) {
        ++connectWarnings;
        ADD_FAILURE() << "Qt connection warning: " << message.toStdString();
    }
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    vx::test::TempDir home("vellumix-home");
    vx::test::TempDir config("vellumix-config");
    setenv("VELLUMIX_HOME", home.path().c_str(), 1);
    setenv("VELLUMIX_CONFIG", config.path().c_str(), 1);

    previousHandler = qInstallMessageHandler(FailOnConnectWarning);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    return result != 0 || connectWarnings > 0 ? 1 : 0;
}
