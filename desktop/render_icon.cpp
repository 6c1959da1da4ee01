// Renders the program's SVG icon to PNG at the build, for the sizes of the
// desktop's icon theme.
//
//   veltron_render_icon ICON.svg SIZE OUT.png

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int size = argc == 4 ? QString::fromLocal8Bit(argv[2]).toInt() : 0;
    if (size <= 0) {
        std::fprintf(stderr, "usage: veltron_render_icon ICON.svg SIZE OUT.png\n");
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "icon: %s is not a readable SVG picture\n", argv[1]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "icon: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
