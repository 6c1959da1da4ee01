// GoogleTest entry for tests that need Qt: one QApplication for the whole
// executable, on the offscreen platform unless the caller chose another.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("VELTRON_TEMPLATES"))
        qputenv("VELTRON_TEMPLATES", VELTRON_BUILD_TEMPLATES);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
