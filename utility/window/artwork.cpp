#include "window/artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace kt::window {
namespace {

const QColor kNavy{16, 40, 96};
const QColor kTeal{0, 128, 160};
const QColor kPaper{250, 250, 244};

// A receipt printer seen from the front, a strip of paper coming out of its
// top, fitted into box.
void drawPrinter(QPainter &p, const QRectF &box)
{
    const double w = box.width(), h = box.height();
    const QRectF paper(box.left() + w * 0.28, box.top(), w * 0.44, h * 0.52);
    p.setPen(QPen(kNavy, std::max(1.0, w / 40)));
    p.setBrush(kPaper);
    p.drawRect(paper);
    p.setPen(QPen(kTeal, std::max(1.0, w / 40)));
    for (int i = 1; i <= 3; ++i) {
        const double y = paper.top() + paper.height() * i / 4.5;
        p.drawLine(QPointF(paper.left() + w * 0.06, y), QPointF(paper.right() - w * 0.06, y));
    }
    const QRectF body(box.left(), box.top() + h * 0.42, w, h * 0.58);
    QLinearGradient shade(body.topLeft(), body.bottomLeft());
    shade.setColorAt(0, kTeal);
    shade.setColorAt(1, kNavy);
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawRoundedRect(body, w * 0.12, w * 0.12);
    p.setBrush(kPaper);
    p.drawRect(QRectF(body.left() + w * 0.22, body.top() + h * 0.06, w * 0.56, h * 0.05));
    p.setBrush(QColor(120, 230, 120));
    p.drawEllipse(QPointF(body.right() - w * 0.16, body.bottom() - h * 0.14), w * 0.05, w * 0.05);
}

} // namespace

QPixmap logoPicture()
{
    QPixmap picture(kLogoWidth, kLogoHeight);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    drawPrinter(p, QRectF(6, 6, 60, 60));

    QFont name("Calibri");
    name.setPixelSize(30);
    name.setBold(true);
    p.setFont(name);
    p.setPen(kNavy);
    p.drawText(QRectF(76, 4, 204, 36), Qt::AlignLeft | Qt::AlignVCenter, "TALVORIN");
    QFont line("Calibri");
    line.setPixelSize(14);
    p.setFont(line);
    p.setPen(kTeal);
    p.drawText(QRectF(78, 40, 204, 26), Qt::AlignLeft | Qt::AlignVCenter,
               "POS printer service utility");
    p.setPen(QPen(kTeal, 2));
    p.drawLine(QPointF(78, 40), QPointF(272, 40));
    return picture;
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        QPixmap picture(size, size);
        picture.fill(Qt::transparent);
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        drawPrinter(p, QRectF(size * 0.06, size * 0.06, size * 0.88, size * 0.88));
        icon.addPixmap(picture);
    }
    return icon;
}

} // namespace kt::window
