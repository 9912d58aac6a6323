#include "app/pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

QFont JapaneseFont(int pixelSize, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// A slanted serif italic stands in for a script face; DejaVu Serif ships with every desktop.
QFont ScriptFont(int pixelSize) {
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(pixelSize);
    font.setItalic(true);
    font.setBold(true);
    font.setLetterSpacing(QFont::PercentageSpacing, 96);
    return font;
}

QPixmap Transparent(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// The program's mark: a seed capsule whose lid lifts, with a check mark, in a square of `size`.
void PaintMark(QPainter& p, const QRectF& box) {
    const qreal s = box.width() / 32.0;
    p.save();
    p.translate(box.topLeft());
    p.scale(s, s);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient body(0, 12, 0, 30);
    body.setColorAt(0, QColor(0xf2, 0xc1, 0x5a));
    body.setColorAt(1, QColor(0xb8, 0x72, 0x1c));
    p.setPen(QPen(QColor(0x5a, 0x36, 0x0c), 1.2));
    p.setBrush(body);
    QPainterPath cup;
    cup.moveTo(4, 13);
    cup.lineTo(28, 13);
    cup.cubicTo(28, 24, 23, 30, 16, 30);
    cup.cubicTo(9, 30, 4, 24, 4, 13);
    p.drawPath(cup);

    QLinearGradient lid(0, 3, 0, 11);
    lid.setColorAt(0, QColor(0xff, 0xe0, 0x9a));
    lid.setColorAt(1, QColor(0xd9, 0x93, 0x2e));
    p.setBrush(lid);
    p.save();
    p.translate(6, 10);
    p.rotate(-14);
    QPainterPath cap;
    cap.moveTo(-2, 0);
    cap.cubicTo(-2, -7, 22, -7, 22, 0);
    cap.closeSubpath();
    p.drawPath(cap);
    p.restore();

    p.setPen(QPen(Qt::white, 4.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPolygonF tick({{9.5, 20}, {14.5, 25}, {24, 14.5}});
    p.drawPolyline(tick);
    p.setPen(QPen(QColor(0x1d, 0x8a, 0x3c), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(tick);
    p.restore();
}

void PaintRoundButton(QPainter& p, QPointF centre, QColor colour) {
    QRadialGradient face(centre + QPointF(-3, -3), 11);
    face.setColorAt(0, colour.lighter(160));
    face.setColorAt(1, colour);
    p.setPen(QPen(colour.darker(170), 1));
    p.setBrush(face);
    p.drawEllipse(centre, 8.5, 8.5);
}

}  // namespace

QPixmap TitleBarPicture(const QString& title) {
    QPixmap pixmap(340, 22);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient band(0, 0, 0, 22);
    band.setColorAt(0, QColor(0x3f, 0x6f, 0xb0));
    band.setColorAt(0.5, QColor(0x1f, 0x47, 0x86));
    band.setColorAt(1, QColor(0x14, 0x31, 0x60));
    p.fillRect(pixmap.rect(), band);
    p.setPen(QColor(255, 255, 255, 70));
    p.drawLine(0, 0, 339, 0);

    // Check mark at the left.
    p.setPen(QPen(QColor(0x0d, 0x2a, 0x12), 4.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPolygonF tick({{5, 11}, {9.5, 16}, {18, 5}});
    p.drawPolyline(tick);
    p.setPen(QPen(QColor(0x7d, 0xe3, 0x6b), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(tick);

    p.setFont(ScriptFont(15));
    const QRectF textBox(26, 0, 255, 22);
    p.setPen(QColor(0, 0, 0, 140));
    p.drawText(textBox.translated(1, 1), Qt::AlignLeft | Qt::AlignVCenter, title);
    p.setPen(QColor(0xf4, 0xf1, 0xe6));
    p.drawText(textBox, Qt::AlignLeft | Qt::AlignVCenter, title);

    // Minimise button inside x 289–309, close button inside x 314–334.
    const QPointF minimise(299, 11), close(324, 11);
    PaintRoundButton(p, minimise, QColor(0x4f, 0x8f, 0xd8));
    PaintRoundButton(p, close, QColor(0xd0, 0x45, 0x3a));
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(minimise + QPointF(-4, 3), minimise + QPointF(4, 3));
    p.drawLine(close + QPointF(-3.5, -3.5), close + QPointF(3.5, 3.5));
    p.drawLine(close + QPointF(-3.5, 3.5), close + QPointF(3.5, -3.5));
    return pixmap;
}

QPixmap ButtonPicture(const QString& caption, QColor tint, int width, int height) {
    QPixmap pixmap = Transparent(width, height);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF face(0.5, 0.5, width - 1, height - 1);
    QLinearGradient fill(0, 0, 0, height);
    fill.setColorAt(0, tint.lighter(150));
    fill.setColorAt(0.48, tint.lighter(110));
    fill.setColorAt(0.52, tint);
    fill.setColorAt(1, tint.darker(115));
    p.setPen(QPen(tint.darker(190), 1));
    p.setBrush(fill);
    p.drawRoundedRect(face, 4, 4);
    p.setPen(QPen(QColor(255, 255, 255, 110), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(face.adjusted(1, 1, -1, -1), 3, 3);

    p.setFont(JapaneseFont(height >= 24 ? 13 : 12, true));
    p.setPen(QColor(0, 0, 0, 90));
    p.drawText(face.translated(0, 1), Qt::AlignCenter, caption);
    p.setPen(Qt::white);
    p.drawText(face, Qt::AlignCenter, caption);
    return pixmap;
}

QPixmap BannerPicture(const QString& line1, const QString& line2, QColor tint) {
    QPixmap pixmap(88, 31);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient fill(0, 0, 88, 31);
    fill.setColorAt(0, tint.lighter(170));
    fill.setColorAt(1, tint.lighter(115));
    p.fillRect(pixmap.rect(), fill);
    p.setPen(tint.darker(200));
    p.drawRect(0, 0, 87, 30);
    p.setPen(QColor(255, 255, 255, 160));
    p.drawRect(1, 1, 85, 28);

    PaintMark(p, QRectF(3, 3, 25, 25));

    QFont name(QStringLiteral("DejaVu Sans"));
    name.setPixelSize(10);
    name.setBold(true);
    name.setLetterSpacing(QFont::PercentageSpacing, 94);
    p.setFont(name);
    p.setPen(tint.darker(260));
    p.drawText(QRectF(28, 3, 58, 13), Qt::AlignCenter, line1);
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(9);
    p.setFont(small);
    p.setPen(tint.darker(220));
    p.drawText(QRectF(28, 15, 58, 12), Qt::AlignCenter, line2);
    return pixmap;
}

QPixmap AboutPicture(const QString& version) {
    QPixmap pixmap(142, 160);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient sky(0, 0, 0, 160);
    sky.setColorAt(0, QColor(0x2a, 0x55, 0x95));
    sky.setColorAt(1, QColor(0x0f, 0x24, 0x48));
    p.fillRect(pixmap.rect(), sky);

    QRadialGradient glow(71, 58, 50);
    glow.setColorAt(0, QColor(255, 255, 255, 70));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(pixmap.rect(), glow);
    PaintMark(p, QRectF(35, 16, 72, 72));

    p.setFont(ScriptFont(21));
    p.setPen(QColor(0xf6, 0xe7, 0xb8));
    p.drawText(QRectF(0, 92, 142, 26), Qt::AlignCenter, QStringLiteral("Pyxidane"));
    QFont plain(QStringLiteral("DejaVu Sans"));
    plain.setPixelSize(11);
    p.setFont(plain);
    p.setPen(QColor(0xdd, 0xe6, 0xf5));
    p.drawText(QRectF(0, 117, 142, 14), Qt::AlignCenter, version);
    p.setFont(JapaneseFont(12, false));
    p.drawText(QRectF(0, 135, 142, 16), Qt::AlignCenter, QStringLiteral("書庫の破損を一括検査"));
    p.setPen(QColor(255, 255, 255, 60));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, 141, 159));
    return pixmap;
}

QIcon AppIcon() {
    QIcon icon;
    for (const int size : {16, 22, 32, 48, 64}) {
        QPixmap pixmap = Transparent(size, size);
        QPainter p(&pixmap);
        PaintMark(p, QRectF(0, 0, size, size));
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
