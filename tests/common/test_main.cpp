// GoogleTest entry for tests that need Qt: one QApplication for the whole
// executable, on the offscreen platform unless the caller chose another.
// "--store=server" runs the tests on the test server (see test_store.h).
#include "common/test_store.h"
#include "ui/dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <cstring>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("VELTRON_TEMPLATES"))
        qputenv("VELTRON_TEMPLATES", VELTRON_BUILD_TEMPLATES);
    QApplication app(argc, argv);
    // The user's own settings of every test program are its own, and go with it.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    // A dialog the test did not script fails the test that met it.
    veltron::ui::ScriptedDialogs::setFailureHandler(
        [](const QString& what) { ADD_FAILURE() << "dialogs: " << what.toStdString(); });
    ::testing::InitGoogleTest(&argc, argv);
    bool server = false;
    for (int i = 1; i < argc; ++i)
        server = server || std::strcmp(argv[i], "--store=server") == 0;
    veltron::test::setUpServerPass(server);
    return RUN_ALL_TESTS();
}
