#include "common/test_support.h"
#include "ui/screen.h"

#include <gtest/gtest.h>

#include <QPointer>

using namespace veltron;

namespace {

// A dialog whose "Отмена" counts its use before returning.
class CountingDialog : public ui::ReturningScreen {
public:
    explicit CountingDialog(QWidget* caller) : ui::ReturningScreen("frmDialog", "Диалог", caller) {}
    void cancel() override
    {
        ++cancels;
        ui::ReturningScreen::cancel();
    }
    int cancels = 0;
};

}  // namespace

TEST(ReturningScreen, ClosingByTheFrameCancelsShowsTheCallerAndDestroysTheDialog)
{
    auto* caller = new QWidget;
    caller->setObjectName("caller");
    QPointer<CountingDialog> dialog = new CountingDialog(caller);
    dialog->show();
    dialog->close();
    EXPECT_EQ(dialog->cancels, 1);
    test::settle();
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(test::visibleScreens(), QStringList{"caller"});

    // A caller that is gone is not shown; the dialog still goes.
    QPointer<CountingDialog> orphan = new CountingDialog(caller);
    orphan->show();
    delete caller;
    orphan->cancel();
    test::settle();
    EXPECT_TRUE(orphan.isNull());
    EXPECT_TRUE(test::visibleScreens().isEmpty());
    test::closeAllScreens();
}
