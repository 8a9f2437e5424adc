// Draws the program's images into a folder:
//   panelup_draw_images <folder>
// The PNGs are committed; run this only to change them.
#include <QDir>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include <cstdio>

namespace {

const QColor teal(42, 168, 165);
const QColor red(214, 48, 49);

QImage blank(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QFont boldFont(int pixelSize) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Black);
    return font;
}

QImage drawLogo() {
    QImage image = blank(569, 209);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // The name as large as fits, white, with a teal band under it.
    const QString name = QStringLiteral("NORVALE");
    int size = 160;
    while (size > 20 && QFontMetrics(boldFont(size)).horizontalAdvance(name) > 545)
        --size;
    const QFont font = boldFont(size);
    const QFontMetrics metrics(font);
    const int textWidth = metrics.horizontalAdvance(name);
    const int x = (569 - textWidth) / 2;
    const int baseline = 140;
    QPainterPath text;
    text.addText(x, baseline, font, name);
    p.fillPath(text, Qt::white);

    QPainterPath band;
    band.addRoundedRect(QRectF(x, baseline + 22, textWidth, 22), 11, 11);
    p.fillPath(band, teal);
    return image;
}

QImage drawBadge(const QColor& colour, bool cross) {
    QImage image = blank(120, 120);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QRectF(4, 4, 112, 112));

    if (cross) {
        QPen pen(Qt::white, 16, Qt::SolidLine, Qt::RoundCap);
        p.setPen(pen);
        p.drawLine(QPointF(38, 38), QPointF(82, 82));
        p.drawLine(QPointF(82, 38), QPointF(38, 82));
    } else {
        QPainterPath mark;
        const QFont font = boldFont(84);
        const QFontMetrics metrics(font);
        const QRect box = metrics.tightBoundingRect(QStringLiteral("?"));
        mark.addText(60 - box.center().x(), 60 - box.center().y(), font, QStringLiteral("?"));
        p.fillPath(mark, Qt::white);
    }
    return image;
}

// A monitor outline with an arrow pointing up on its screen, drawn on a
// 128-unit grid and scaled to the icon size.
QImage drawIcon(int size) {
    QImage image = blank(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 128.0, size / 128.0);

    p.setPen(QPen(teal, 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(60, 60, 62));
    p.drawRoundedRect(QRectF(8, 12, 112, 80), 10, 10);
    p.drawLine(QPointF(64, 92), QPointF(64, 110));
    p.drawLine(QPointF(36, 116), QPointF(92, 116));

    QPainterPath arrow;
    arrow.moveTo(64, 24);
    arrow.lineTo(90, 52);
    arrow.lineTo(74, 52);
    arrow.lineTo(74, 80);
    arrow.lineTo(54, 80);
    arrow.lineTo(54, 52);
    arrow.lineTo(38, 52);
    arrow.closeSubpath();
    p.setPen(Qt::NoPen);
    p.fillPath(arrow, Qt::white);
    return image;
}

bool save(const QImage& image, const QDir& folder, const QString& name) {
    const QString path = folder.filePath(name);
    if (image.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral(".")))
        return 1;

    bool ok = save(drawLogo(), folder, QStringLiteral("logo.png"));
    ok = save(drawBadge(red, true), folder, QStringLiteral("cross_mark.png")) && ok;
    ok = save(drawBadge(teal, false), folder, QStringLiteral("question_mark.png")) && ok;
    for (int size : {16, 32, 48, 64, 128})
        ok = save(drawIcon(size), folder, QStringLiteral("Icon_%1.png").arg(size)) && ok;
    return ok ? 0 : 1;
}
