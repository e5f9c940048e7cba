// Draws the tool bar icons and the application icon of the KV-730 tool and writes them
// as PNG files. Usage: kv730-icons [OUTPUT_DIR]   (default: resources/images)
//        kv730-icons --app-icon THEME_DIR   (the application icon as THEME_DIR/NxN/apps/kv730.png
//                                            at the sizes of the desktop icon theme)
// Every picture is drawn on a 32 x 32 grid and scaled to its pixel size, so the same
// drawing serves the 32 pixel tool bar icons and the 256 pixel application icon.

#include <QColor>
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QtMath>

#include <cstdio>
#include <functional>

namespace
{

const QColor outline(0x2b, 0x36, 0x45);

QPen outlinePen(qreal width = 1.2)
{
    return QPen(outline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QLinearGradient vertical(qreal top, qreal bottom, const QColor& light, const QColor& dark)
{
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, light);
    g.setColorAt(1, dark);
    return g;
}

void drawOpen(QPainter& p)
{
    // Folder: back with its tab, then the front flap opened towards the viewer.
    QPainterPath back;
    back.moveTo(3, 8);
    back.lineTo(3, 26);
    back.lineTo(27, 26);
    back.lineTo(27, 10);
    back.lineTo(14, 10);
    back.lineTo(12, 7);
    back.lineTo(4, 7);
    back.closeSubpath();
    p.setPen(outlinePen());
    p.setBrush(vertical(7, 26, QColor(0xe8, 0xb0, 0x3c), QColor(0xc7, 0x86, 0x1c)));
    p.drawPath(back);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xfa, 0xfa, 0xf5));
    p.drawRect(QRectF(6, 11.5, 18, 8));

    QPolygonF front;
    front << QPointF(3, 26) << QPointF(7, 14) << QPointF(30, 14) << QPointF(26.5, 26);
    p.setPen(outlinePen());
    p.setBrush(vertical(14, 26, QColor(0xff, 0xd8, 0x6b), QColor(0xf0, 0xae, 0x2e)));
    p.drawPolygon(front);
}

void drawSave(QPainter& p)
{
    // Floppy disk: body, metal shutter at the top, white label at the bottom.
    QPainterPath body;
    body.moveTo(4, 5);
    body.lineTo(24, 5);
    body.lineTo(28, 9);
    body.lineTo(28, 27);
    body.lineTo(4, 27);
    body.closeSubpath();
    p.setPen(outlinePen());
    p.setBrush(vertical(5, 27, QColor(0x4a, 0x86, 0xd0), QColor(0x24, 0x55, 0x9c)));
    p.drawPath(body);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xc9, 0xd2, 0xdc));
    p.drawRect(QRectF(9, 5.6, 13, 7.5));
    p.setBrush(QColor(0x3a, 0x4a, 0x5c));
    p.drawRect(QRectF(17, 7, 3, 4.7));

    p.setPen(QPen(QColor(0x9a, 0xa6, 0xb4), 0.8));
    p.setBrush(QColor(0xfb, 0xfb, 0xf8));
    p.drawRoundedRect(QRectF(7.5, 16, 17, 10), 1, 1);
    p.setPen(QPen(QColor(0xb5, 0xbd, 0xc8), 1));
    p.drawLine(QPointF(10, 19.5), QPointF(22, 19.5));
    p.drawLine(QPointF(10, 22.5), QPointF(22, 22.5));
}

void drawSearch(QPainter& p)
{
    // Magnifier: handle first, so that the ring covers its end.
    p.setPen(QPen(QColor(0x5a, 0x3a, 0x22), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19.5, 19.5), QPointF(27, 27));
    p.setPen(QPen(QColor(0x8b, 0x5e, 0x3a), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20, 20), QPointF(26.5, 26.5));

    QRadialGradient glass(QPointF(10.5, 10.5), 10);
    glass.setColorAt(0, QColor(0xff, 0xff, 0xff, 235));
    glass.setColorAt(1, QColor(0x9c, 0xcc, 0xf0, 220));
    p.setBrush(glass);
    p.setPen(QPen(QColor(0x4b, 0x5a, 0x6b), 3));
    p.drawEllipse(QPointF(13, 13), 8.5, 8.5);

    p.setPen(QPen(QColor(255, 255, 255, 200), 1.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(7.5, 7.5, 11, 11), 100 * 16, 70 * 16);
}

void drawDownload(QPainter& p)
{
    // Tray.
    QPainterPath tray;
    tray.moveTo(3, 18);
    tray.lineTo(3, 28);
    tray.lineTo(29, 28);
    tray.lineTo(29, 18);
    tray.lineTo(25, 18);
    tray.lineTo(25, 23);
    tray.lineTo(7, 23);
    tray.lineTo(7, 18);
    tray.closeSubpath();
    p.setPen(outlinePen());
    p.setBrush(vertical(18, 28, QColor(0xb8, 0xc2, 0xcc), QColor(0x7d, 0x8a, 0x98)));
    p.drawPath(tray);

    // Arrow pointing down into it.
    QPolygonF arrow;
    arrow << QPointF(13, 3) << QPointF(19, 3) << QPointF(19, 12) << QPointF(24, 12)
          << QPointF(16, 21) << QPointF(8, 12) << QPointF(13, 12);
    p.setBrush(vertical(3, 21, QColor(0x6c, 0xd0, 0x5c), QColor(0x2a, 0x8c, 0x2e)));
    p.drawPolygon(arrow);
}

void drawClean(QPainter& p)
{
    // Waste bin with lid and ribs.
    QPainterPath bin;
    bin.moveTo(7, 10);
    bin.lineTo(25, 10);
    bin.lineTo(23, 28);
    bin.lineTo(9, 28);
    bin.closeSubpath();
    p.setPen(outlinePen());
    p.setBrush(vertical(10, 28, QColor(0xe4, 0x6a, 0x5a), QColor(0xb3, 0x34, 0x2a)));
    p.drawPath(bin);

    p.setPen(QPen(QColor(255, 255, 255, 170), 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 13.5), QPointF(12.6, 25));
    p.drawLine(QPointF(16, 13.5), QPointF(16, 25));
    p.drawLine(QPointF(20, 13.5), QPointF(19.4, 25));

    p.setPen(outlinePen());
    p.setBrush(QColor(0x8c, 0x96, 0xa2));
    p.drawRoundedRect(QRectF(4.5, 6, 23, 3.5), 1, 1);
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(12.5, 3, 7, 3), 1, 1);
}

void drawSetting(QPainter& p)
{
    // Gear with eight teeth and a hole.
    const QPointF c(16, 16);
    const int teeth = 8;
    const qreal outer = 13.5, inner = 10.5;
    QPainterPath gear;
    for (int i = 0; i < teeth; ++i) {
        const qreal a = 2 * M_PI * i / teeth;
        const qreal half = M_PI / teeth;
        const qreal pts[4][2] = {{a - half * 0.95, inner},
                                 {a - half * 0.45, outer},
                                 {a + half * 0.45, outer},
                                 {a + half * 0.95, inner}};
        for (int k = 0; k < 4; ++k) {
            const QPointF pt(c.x() + pts[k][1] * qCos(pts[k][0]),
                             c.y() + pts[k][1] * qSin(pts[k][0]));
            if (i == 0 && k == 0)
                gear.moveTo(pt);
            else
                gear.lineTo(pt);
        }
    }
    gear.closeSubpath();
    gear.addEllipse(c, 4.2, 4.2);
    gear.setFillRule(Qt::OddEvenFill);

    QRadialGradient metal(QPointF(12, 11), 18);
    metal.setColorAt(0, QColor(0xd8, 0xde, 0xe6));
    metal.setColorAt(1, QColor(0x6e, 0x7c, 0x8c));
    p.setPen(outlinePen());
    p.setBrush(metal);
    p.drawPath(gear);
}

void drawPlay(QPainter& p)
{
    QPainterPath tri;
    tri.moveTo(9, 5);
    tri.lineTo(27, 16);
    tri.lineTo(9, 27);
    tri.closeSubpath();
    p.setPen(QPen(QColor(0x1f, 0x6e, 0x24), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(vertical(5, 27, QColor(0x70, 0xd4, 0x60), QColor(0x2e, 0x96, 0x32)));
    p.drawPath(tri);
}

void drawPause(QPainter& p)
{
    p.setPen(QPen(QColor(0x8a, 0x5a, 0x0a), 1.5));
    p.setBrush(vertical(5, 27, QColor(0xff, 0xcc, 0x4a), QColor(0xe0, 0x94, 0x10)));
    p.drawRoundedRect(QRectF(7, 5, 6.5, 22), 1.5, 1.5);
    p.drawRoundedRect(QRectF(18.5, 5, 6.5, 22), 1.5, 1.5);
}

void drawStop(QPainter& p)
{
    p.setPen(QPen(QColor(0x7c, 0x1c, 0x16), 1.5));
    p.setBrush(vertical(6, 26, QColor(0xf0, 0x6a, 0x58), QColor(0xc0, 0x2c, 0x22)));
    p.drawRoundedRect(QRectF(6, 6, 20, 20), 2.5, 2.5);
}

void drawRewind(QPainter& p)
{
    p.setPen(QPen(QColor(0x1c, 0x4a, 0x86), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(vertical(7, 25, QColor(0x6a, 0xaa, 0xea), QColor(0x2a, 0x66, 0xb8)));
    for (qreal x : {3.0, 15.0}) {
        QPolygonF tri;
        tri << QPointF(x, 16) << QPointF(x + 13, 7) << QPointF(x + 13, 25);
        p.drawPolygon(tri);
    }
}

// A winding track, shared by the two map icons.
QPainterPath trackPath()
{
    QPainterPath track;
    track.moveTo(6, 23);
    track.cubicTo(10, 12, 14, 26, 17, 16);
    track.cubicTo(19, 9, 23, 13, 26, 8);
    return track;
}

void drawZoomTracks(QPainter& p)
{
    // The track, and the corners of the view closing round it.
    p.setPen(QPen(QColor(0xd2, 0x3a, 0x2a), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(trackPath());
    p.setPen(QPen(QColor(0x2a, 0x66, 0xb8), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const qreal lo = 2.5, hi = 29.5, arm = 7;
    for (qreal x : {lo, hi}) {
        for (qreal y : {lo, hi}) {
            const qreal dx = x == lo ? arm : -arm;
            const qreal dy = y == lo ? arm : -arm;
            QPolygonF corner;
            corner << QPointF(x + dx, y) << QPointF(x, y) << QPointF(x, y + dy);
            p.drawPolyline(corner);
        }
    }
}

void drawSpeedColours(QPainter& p)
{
    // The track drawn from slow (blue) to fast (red).
    QLinearGradient g(6, 0, 26, 0);
    g.setColorAt(0, QColor(43, 131, 186));
    g.setColorAt(0.35, QColor(102, 189, 99));
    g.setColorAt(0.6, QColor(255, 221, 51));
    g.setColorAt(1, QColor(215, 25, 28));
    p.setPen(QPen(outline, 6.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(trackPath());
    p.setPen(QPen(QBrush(g), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(trackPath());
}

void drawAppIcon(QPainter& p)
{
    // A hand-held logger: rounded body, a screen showing a recorded track, one button.
    QRectF body(6, 2, 20, 28);
    p.setPen(QPen(QColor(0x1a, 0x22, 0x2c), 0.6));
    p.setBrush(vertical(2, 30, QColor(0x4d, 0x5d, 0x70), QColor(0x26, 0x30, 0x3c)));
    p.drawRoundedRect(body, 4, 4);

    // Stub antenna on the top edge.
    p.setBrush(QColor(0x26, 0x30, 0x3c));
    p.drawRoundedRect(QRectF(20, 0.6, 3.5, 3), 1, 1);

    QRectF screen(8.5, 5, 15, 15);
    p.setPen(QPen(QColor(0x12, 0x18, 0x20), 0.5));
    p.setBrush(vertical(5, 20, QColor(0xd9, 0xee, 0xd0), QColor(0xa8, 0xd0, 0x9c)));
    p.drawRoundedRect(screen, 1.2, 1.2);

    // Map grid on the screen.
    p.setPen(QPen(QColor(255, 255, 255, 140), 0.35));
    for (qreal x = 12; x < 23.5; x += 3.5)
        p.drawLine(QPointF(x, 5.3), QPointF(x, 19.7));
    for (qreal y = 8.5; y < 20; y += 3.5)
        p.drawLine(QPointF(8.8, y), QPointF(23.2, y));

    // The track line with start and end points.
    QPainterPath track;
    track.moveTo(10.5, 17.5);
    track.cubicTo(12.5, 12, 15, 18.5, 16.5, 13);
    track.cubicTo(17.5, 9.5, 20, 11.5, 21.5, 7.5);
    p.setPen(QPen(QColor(0xd2, 0x3a, 0x2a), 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(track);
    p.setPen(QPen(Qt::white, 0.4));
    p.setBrush(QColor(0x2e, 0x96, 0x32));
    p.drawEllipse(QPointF(10.5, 17.5), 1.1, 1.1);
    p.setBrush(QColor(0x24, 0x55, 0x9c));
    p.drawEllipse(QPointF(21.5, 7.5), 1.1, 1.1);

    // Power button and a status light.
    p.setPen(QPen(QColor(0x12, 0x18, 0x20), 0.5));
    p.setBrush(vertical(22, 28, QColor(0x9a, 0xa8, 0xb8), QColor(0x5c, 0x6a, 0x7a)));
    p.drawEllipse(QPointF(16, 25), 2.6, 2.6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x6c, 0xe0, 0x5c));
    p.drawEllipse(QPointF(22.3, 25), 0.8, 0.8);
}

bool writeIcon(const QString& dir, const QString& name, int size,
               const std::function<void(QPainter&)>& draw)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.scale(size / 32.0, size / 32.0);
        draw(p);
    }
    const QString path = dir + QLatin1Char('/') + name;
    if (!image.convertToFormat(QImage::Format_ARGB32).save(path, "PNG")) {
        std::fprintf(stderr, "kv730-icons: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// The application icon at every size a desktop icon theme asks for.
int writeThemeIcons(const QString& themeDir)
{
    bool ok = true;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(themeDir, QString::number(size));
        if (!QDir().mkpath(dir)) {
            std::fprintf(stderr, "kv730-icons: cannot create %s\n", qPrintable(dir));
            return 1;
        }
        ok = writeIcon(dir, QStringLiteral("kv730.png"), size, drawAppIcon) && ok;
    }
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--app-icon") == 0)
        return writeThemeIcons(QString::fromLocal8Bit(argv[2]));
    const QString dir =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("resources/images");
    if (argc > 2 || dir.startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr, "usage: kv730-icons [OUTPUT_DIR]\n"
                             "       kv730-icons --app-icon THEME_DIR\n");
        return 2;
    }
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "kv730-icons: cannot create %s\n", qPrintable(dir));
        return 1;
    }

    struct Icon {
        const char* name;
        int size;
        void (*draw)(QPainter&);
    };
    const Icon icons[] = {
        {"KV310_SW_Icon.png", 256, drawAppIcon},
        {"open.png", 32, drawOpen},
        {"save.png", 32, drawSave},
        {"search.png", 32, drawSearch},
        {"download.png", 32, drawDownload},
        {"clean.png", 32, drawClean},
        {"setting.png", 32, drawSetting},
        {"play.png", 32, drawPlay},
        {"pause.png", 32, drawPause},
        {"stop.png", 32, drawStop},
        {"rewind.png", 32, drawRewind},
        {"zoomtracks.png", 32, drawZoomTracks},
        {"speedcolours.png", 32, drawSpeedColours},
    };
    bool ok = true;
    for (const Icon& icon : icons)
        ok = writeIcon(dir, QLatin1String(icon.name), icon.size, icon.draw) && ok;
    return ok ? 0 : 1;
}
