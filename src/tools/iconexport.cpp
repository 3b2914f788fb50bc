// kestovar-iconexport: renders an SVG drawing to a square PNG of a given
// size, for the icon sizes a desktop needs. A build-time tool.
//
//   kestovar-iconexport IN.svg OUT.png SIZE

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: kestovar-iconexport IN.svg OUT.png SIZE\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int size = QString::fromLocal8Bit(argv[3]).toInt();
    QSvgRenderer drawing(QString::fromLocal8Bit(argv[1]));
    if (!drawing.isValid() || size < 1 || size > 4096) {
        std::fprintf(stderr, "kestovar-iconexport: cannot render %s at %s\n", argv[1], argv[3]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawing.render(&painter);
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "kestovar-iconexport: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
