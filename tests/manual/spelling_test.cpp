// The texts of the program, its report templates and its documentation keep
// the spelling they were corrected to: none of the misspellings below comes
// back into src, templates or docs.

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

namespace {

struct Misspelling {
    const char* pattern;  // a regular expression
    const char* correct;  // what is written instead
};

const Misspelling kMisspellings[] = {
    {"энергитическ", "энергетическ…"},
    {"Проверте", "Проверьте"},
    {"сохранеия", "сохранения"},
    {"Дополгительн", "Дополнительн…"},
    {"ВЗЫВЕ", "ВЗРЫВЕ"},
    {"[Рр]асчитыва", "рассчитыва…"},
    {"о рассчитываем блоке", "о рассчитываемом блоке"},
    {"аврийн", "аварийн…"},
    {"отрытое", "открытое"},
    {"должена|должено", "должна, должно"},
    {"[Нн]е правильно введен", "неправильно введен…"},
    {"°С|[СC]°", "°C (градус перед латинской C)"},
    {"[Рр]ассчет", "расчет"},
    {"вт/\\(м", "Вт/(м·К)"},
    {"кдж", "кДж"},
    {"кДЖ", "кДж"},
    {"Mword|в MWord", "Word"},
    {"[Аа]проксим", "аппроксим…"},
    {"текщуго", "текущего"},
    {"выбирите", "выберите"},
    {"вещест по", "веществ по"},
    {"растояни", "расстояни…"},
    {"концетрац", "концентрац…"},
    {"таблицой", "таблицей"},
    {"в ручную", "вручную"},
    {"[Нн]е возможно подключ", "невозможно подключиться"},
    {"бетта", "бета"},
    {"кг/моль", "кг/кмоль"},
    {"зa ", "за (кириллическая «а»)"},
    {"(Ввод|Добавление)\\\\+(редактирование|изменение)", "косая черта «/» в заголовках окон"},
    {"Изменить\\\\+ Просмотреть", "«Изменить/ Просмотреть»"},
};

}  // namespace

TEST(Spelling, CorrectedWordsDoNotComeBack)
{
    QStringList found;
    for (const char* folder : {"src", "templates", "docs"}) {
        QDirIterator files(QStringLiteral(VELTRON_SOURCE_DIR "/") + QLatin1String(folder),
                           {"*.cpp", "*.h", "*.xml", "*.html", "*.md", "*.txt"}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
            const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
            for (const Misspelling& m : kMisspellings) {
                const QRegularExpression wrong(QString::fromUtf8(m.pattern));
                for (int i = 0; i < lines.size(); ++i)
                    if (lines[i].contains(wrong))
                        found << QStringLiteral("%1:%2: «%3» — пишется «%4»")
                                     .arg(path.mid(int(qstrlen(VELTRON_SOURCE_DIR)) + 1))
                                     .arg(i + 1)
                                     .arg(lines[i].trimmed().left(100), QString::fromUtf8(m.correct));
            }
        }
    }
    EXPECT_TRUE(found.isEmpty()) << found.join(QLatin1Char('\n')).toStdString();
}
