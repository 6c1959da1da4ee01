// GoogleTest entry for tests that need Qt: one QApplication for the whole
// executable, on the offscreen platform unless the caller chose another.
#include <gtest/gtest.h>

#include "ui/dialogs.h"

#include <QApplication>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("VELTRON_TEMPLATES"))
        qputenv("VELTRON_TEMPLATES", VELTRON_BUILD_TEMPLATES);
    QApplication app(argc, argv);
    // A dialog the test did not script fails the test that met it.
    veltron::ui::ScriptedDialogs::setFailureHandler(
        [](const QString& what) { ADD_FAILURE() << "dialogs: " << what.toStdString(); });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
