#include "ui/dialogs.h"
#include "calc/number_text.h"
#include "ui/numeric_edit.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <QVBoxLayout>

using namespace veltron;
using ui::NumericEdit;

namespace {

struct KeyCase {
    const char* name;
    NumericEdit::Flags flags;
    const char* before;  // text already in the box
    const char* typed;   // keys typed, one character each
    const char* after;
    int beeps;
};

const KeyCase kKeyCases[] = {
    {"digits", NumericEdit::Converting, "", "123", "123", 0},
    {"letters refused", NumericEdit::Converting, "1", "a%", "1", 2},
    {"comma after digit", NumericEdit::Converting, "1", ",5", "1,5", 0},
    {"comma into empty refused", NumericEdit::Converting, "", ",", "", 1},
    {"point becomes comma", NumericEdit::Converting, "2", ".5", "2,5", 0},
    {"point into empty refused when converting", NumericEdit::Converting, "", ".", "", 1},
    {"point kept when not converting", NumericEdit::Plain, "1", ".4", "1.4", 0},
    {"point into empty allowed when not converting", NumericEdit::Plain, "", ".", ".", 0},
    {"comma into empty refused when not converting", NumericEdit::Plain, "", ",", "", 1},
    {"minus refused unsigned", NumericEdit::Converting, "", "-5", "5", 1},
    {"minus allowed signed", NumericEdit::Signed | NumericEdit::Converting, "", "-5", "-5", 0},
    {"second comma not stopped", NumericEdit::Converting, "1,2", ",", "1,2,", 0},
    {"misplaced minus not stopped", NumericEdit::Signed | NumericEdit::Converting, "12", "-", "12-", 0},
    {"free text box takes anything", NumericEdit::Unchecked, "", "a,b", "a,b", 0},
};

void PrintTo(const KeyCase& c, std::ostream* os)
{
    *os << c.name;
}

class KeyFilter : public ::testing::TestWithParam<KeyCase> {};

}  // namespace

TEST_P(KeyFilter, TypedKeys)
{
    const KeyCase& c = GetParam();
    ui::ScriptedDialogs dialogs;
    NumericEdit edit(c.flags);
    edit.setText(QString::fromUtf8(c.before));
    edit.end(false);
    QTest::keyClicks(&edit, QString::fromUtf8(c.typed));
    EXPECT_EQ(edit.text(), QString::fromUtf8(c.after));
    EXPECT_EQ(dialogs.beeps, c.beeps);
}

INSTANTIATE_TEST_SUITE_P(NumericEdit, KeyFilter, ::testing::ValuesIn(kKeyCases),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             for (auto& ch : n)
                                 if (!isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return n;
                         });

TEST(NumericEdit, BackspaceAndNavigationKeysPass)
{
    ui::ScriptedDialogs dialogs;
    NumericEdit edit;
    edit.setText("12,5");
    edit.end(false);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClick(&edit, Qt::Key_Left);
    QTest::keyClick(&edit, Qt::Key_Delete);
    EXPECT_EQ(edit.text(), QStringLiteral("12"));
    EXPECT_EQ(dialogs.beeps, 0);
}

namespace {

struct LeaveCase {
    const char* text;
    bool valid;
};

const LeaveCase kLeaveCases[] = {
    {"12,5", true}, {"-3", true}, {"0", true}, {"1,5E-3", true}, {"", false}, {",", false},
    {"1,2,3", false}, {"12-", false}, {"1.5", false}, {"abc", false}, {"1 000", false},
};

}  // namespace

TEST(NumericEdit, LeaveCheckShowsTheMessageAndKeepsFocus)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new NumericEdit(NumericEdit::Signed | NumericEdit::Converting, &window);
    auto* other = new QLineEdit(&window);
    auto* label = new QLabel(QStringLiteral("Температура, °C"), &window);
    label->setBuddy(edit);  // the message names the field by its label
    layout->addWidget(label);
    layout->addWidget(edit);
    layout->addWidget(other);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    for (const auto& c : kLeaveCases) {
        ui::ScriptedDialogs dialogs;
        double left = -999;
        QObject::connect(edit, &NumericEdit::validLeft, edit, [&](double v) { left = v; });
        edit->setFocus();
        edit->setText(QString::fromUtf8(c.text));
        other->setFocus();
        QApplication::processEvents();
        if (c.valid) {
            EXPECT_TRUE(dialogs.calls.empty()) << c.text;
            EXPECT_EQ(left, *calc::parseNumber(QString::fromUtf8(c.text))) << c.text;
            EXPECT_TRUE(other->hasFocus()) << c.text;
        } else {
            ASSERT_EQ(dialogs.calls.size(), 1u) << c.text;
            EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("Ввод данных"));
            EXPECT_EQ(dialogs.calls[0].text,
                      QStringLiteral("Проверьте правильность ввода: в поле «Температура, °C» не число («%1»).")
                          .arg(QString::fromUtf8(c.text)));
            EXPECT_EQ(dialogs.calls[0].icon, ui::Icon::Warning);
            EXPECT_TRUE(edit->hasFocus()) << c.text;
            EXPECT_EQ(left, -999) << c.text;
        }
        QObject::disconnect(edit, &NumericEdit::validLeft, nullptr, nullptr);
    }
}

TEST(NumericEdit, LeaveCheckOfBoxesThatMayStayEmptyOrTakeAPoint)
{
    const struct {
        NumericEdit::Flags flags;
        const char* text;
        bool valid;
        const char* after;
    } cases[] = {
        {NumericEdit::Converting | NumericEdit::EmptyAllowed, "", true, ""},
        {NumericEdit::Converting | NumericEdit::EmptyAllowed, "abc", false, "abc"},
        {NumericEdit::Converting, "", false, ""},
        {NumericEdit::Converting | NumericEdit::PointAccepted, "1.5", true, "1,5"},
        {NumericEdit::Converting | NumericEdit::PointAccepted, "1.5.2", false, "1,5,2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ui::ScriptedDialogs dialogs;
        NumericEdit edit(c.flags);
        edit.setText(QString::fromUtf8(c.text));
        edit.setModified(true);
        EXPECT_EQ(edit.checkValue(), c.valid);
        EXPECT_EQ(dialogs.calls.size(), c.valid ? 0u : 1u);
        EXPECT_EQ(edit.text(), QString::fromUtf8(c.after));
        EXPECT_TRUE(edit.isModified());  // the user's edit stays an edit
    }
}

TEST(Numbers, FieldTextUsesTheDecimalCommaWithoutGrouping)
{
    EXPECT_EQ(calc::numberText(1234.5678), QStringLiteral("1234,5678"));
    EXPECT_EQ(calc::numberText(-0.1), QStringLiteral("-0,1"));
    EXPECT_EQ(calc::numberText(3), QStringLiteral("3"));
    EXPECT_EQ(*calc::parseNumber(calc::numberText(0.1 + 0.2)), 0.1 + 0.2);
}

TEST(ScriptedDialogs, AnswersInOrderAndRecordsEveryCall)
{
    ui::ScriptedDialogs d;
    d.answers = {ui::Answer::No, ui::Answer::Yes};
    EXPECT_EQ(ui::dialogs().ask("T", "first", ui::Icon::Question, ui::Buttons::YesNo), ui::Answer::No);
    EXPECT_EQ(ui::dialogs().ask("T", "second", ui::Icon::Question, ui::Buttons::YesNo), ui::Answer::Yes);
    d.files = {"/tmp/r.docx", QString()};
    EXPECT_EQ(ui::dialogs().saveFileName("S", "/tmp", "Документы (*.docx)"), QStringLiteral("/tmp/r.docx"));
    EXPECT_EQ(ui::dialogs().saveFileName("S", "/tmp", "Документы (*.docx)"), QString());
    EXPECT_EQ(d.calls.size(), 4u);
    EXPECT_EQ(d.messages(), (QStringList{"T|first", "T|second"}));
}

// What a script lacks or leaves over fails the test that met it: a question
// or a save dialog nobody scripted (answered No and cancelled), and answers
// never asked for.
TEST(ScriptedDialogs, UnscriptedDialogsAndLeftoverAnswersFailTheTest)
{
    ::testing::TestPartResultArray failures;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
        ui::ScriptedDialogs d;
        EXPECT_EQ(ui::dialogs().ask("Вопрос", "Удалить?", ui::Icon::Question, ui::Buttons::YesNo), ui::Answer::No);
        EXPECT_EQ(ui::dialogs().saveFileName("Сохранение", "/tmp", "*.docx"), QString());
        EXPECT_EQ(ui::dialogs().askText("Имя", "Новое имя:", "Старое"), std::nullopt);
        ui::dialogs().inform("Сообщение", "Готово", ui::Icon::Information);  // messages need no script
        d.answers = {ui::Answer::Yes};
        d.texts = {QStringLiteral("никем не спрошено")};
    }
    ASSERT_EQ(failures.size(), 5);
    std::string all;
    for (int i = 0; i < failures.size(); ++i)
        all += std::string(failures.GetTestPartResult(i).message()) + "\n";
    const QString messages = QString::fromStdString(all);
    EXPECT_TRUE(messages.contains("unscripted question «Вопрос»: Удалить?")) << all;
    EXPECT_TRUE(messages.contains("unscripted save dialog «Сохранение»")) << all;
    EXPECT_TRUE(messages.contains("unscripted text question «Имя»: Новое имя:")) << all;
    EXPECT_TRUE(messages.contains("1 scripted answer(s) to questions never asked")) << all;
    EXPECT_TRUE(messages.contains("1 scripted text answer(s) never asked for")) << all;
}
