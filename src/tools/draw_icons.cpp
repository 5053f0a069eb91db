// Build-time tool: draws the window's button icons in both tints at the sizes the window shows
// them, and lists them in a resource file. Drawing the SVGs at every start cost the window about a
// tenth of its time to show (the SVG library and its plug-ins load, every drawing is parsed).
//
// Usage: draw_icons OUT_DIR OUT_QRC ICON.svg...
#include <cstdio>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QTextStream>

#include "IconDrawing.h"

int main(int argc, char* argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: draw_icons OUT_DIR OUT_QRC ICON.svg...\n");
        return 2;
    }
    // Drawing needs no screen: the tool runs during the build, where there may be none.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QString qrc = QStringLiteral("<RCC>\n    <qresource prefix=\"/\">\n");
    for (int index = 3; index < argc; ++index) {
        const QString path = QString::fromLocal8Bit(argv[index]);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "draw_icons: cannot read %s\n", argv[index]);
            return 1;
        }
        const QByteArray svg = file.readAll();
        const QString name = QFileInfo(path).completeBaseName();
        for (const bool forDark : {false, true}) {
            for (const int pixels : lectoria::ui::kDrawnIconPixels) {
                const QImage image = lectoria::ui::DrawSvg(lectoria::ui::TintedSvg(svg, forDark), pixels);
                // The resource path without its ":/" is the alias; the file is named after it.
                const QString alias = lectoria::ui::DrawnIconPath(name, forDark, pixels).mid(2);
                const QString drawn = out.filePath(QFileInfo(alias).fileName());
                if (image.isNull() || !image.save(drawn, "PNG")) {
                    std::fprintf(stderr, "draw_icons: cannot draw %s at %d pixels into %s\n", argv[index], pixels,
                                 qPrintable(drawn));
                    return 1;
                }
                qrc += QStringLiteral("        <file alias=\"%1\">%2</file>\n").arg(alias, drawn);
            }
        }
    }
    qrc += QStringLiteral("    </qresource>\n</RCC>\n");
    QFile list(QString::fromLocal8Bit(argv[2]));
    if (!list.open(QIODevice::WriteOnly | QIODevice::Truncate) || list.write(qrc.toUtf8()) != qrc.toUtf8().size()) {
        std::fprintf(stderr, "draw_icons: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
