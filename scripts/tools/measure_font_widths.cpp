// Prints the advance widths (thousandths of an em) of the characters the
// reports use, for the regular and the bold face of a font, as the rows of
// src/report/docx/font_metrics.cpp. Build and run:
//   g++ -std=c++17 -fPIC measure_font_widths.cpp $(pkg-config --cflags --libs Qt6Gui) -o measure
//   QT_QPA_PLATFORM=offscreen ./measure LiberationSerif-Regular.ttf LiberationSerif-Bold.ttf
#include <QGuiApplication>
#include <QRawFont>
#include <QString>
#include <cstdio>
int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QString chars;
    for (char16_t c = 0x20; c <= 0x7e; ++c) chars += QChar(c);
    for (char16_t c = 0x410; c <= 0x44f; ++c) chars += QChar(c);
    for (char16_t c : {0x401, 0x451, 0xa0, 0xab, 0xb0, 0xb2, 0xb3, 0xb7, 0xbb, 0xd7, 0x2013, 0x2014, 0x2018, 0x2019,
                       0x201c, 0x201d, 0x2026, 0x2032, 0x2033, 0x2116, 0x2212, 0x2264, 0x2265, 0x3b1, 0x3b2, 0x3b3,
                       0x3b4, 0x3b5, 0x3b7, 0x3bb, 0x3bc, 0x3bd, 0x3c1, 0x3c4, 0x3c6, 0x394, 0x3a3})
        chars += QChar(c);
    QRawFont regular(QString::fromLocal8Bit(argv[1]), 1000);
    QRawFont bold(QString::fromLocal8Bit(argv[2]), 1000);
    for (QChar ch : chars) {
        const auto r = regular.advancesForGlyphIndexes(regular.glyphIndexesForString(QString(ch)));
        const auto b = bold.advancesForGlyphIndexes(bold.glyphIndexesForString(QString(ch)));
        std::printf("    {0x%04x, %d, %d},\n", ch.unicode(), qRound(r.value(0).x()), qRound(b.value(0).x()));
    }
}
