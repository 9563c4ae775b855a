#include "shell/artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace tarn {
namespace {

// A 16-colour look: plain fills with a dark outline, as toolbar strips are drawn.
const QColor kInk(0, 0, 0);
const QColor kPaper(255, 255, 255);
const QColor kNavy(0, 0, 128);
const QColor kTeal(0, 128, 128);
const QColor kYellow(255, 255, 0);
const QColor kOlive(128, 128, 0);
const QColor kGrey(128, 128, 128);
const QColor kSilver(192, 192, 192);
const QColor kRed(192, 0, 0);
const QColor kGreen(0, 128, 0);

void sheet(QPainter& p, int x, int y, int w, int h) {
    p.setPen(kInk);
    p.setBrush(kPaper);
    p.drawRect(x, y, w, h);
}

void person(QPainter& p, int x, int y, const QColor& shirt) {
    p.setPen(kInk);
    p.setBrush(QColor(255, 204, 153));
    p.drawEllipse(x + 2, y, 5, 5);
    p.setBrush(shirt);
    p.drawRoundedRect(x, y + 6, 9, 6, 2, 2);
}

void radio(QPainter& p) {
    p.setPen(kInk);
    p.setBrush(kSilver);
    p.drawRect(0, 7, 11, 7);
    p.setBrush(kInk);
    p.drawRect(2, 9, 4, 2);
    p.setBrush(kGreen);
    p.drawEllipse(7, 9, 2, 2);
    p.drawLine(9, 7, 11, 1);  // aerial
}

void arrow(QPainter& p, bool down, const QColor& colour) {
    p.setPen(kInk);
    p.setBrush(colour);
    QPolygon shape;
    if (down)
        shape << QPoint(12, 0) << QPoint(14, 0) << QPoint(14, 4) << QPoint(15, 4) << QPoint(13, 7)
              << QPoint(11, 4) << QPoint(12, 4);
    else
        shape << QPoint(13, 0) << QPoint(15, 3) << QPoint(14, 3) << QPoint(14, 7) << QPoint(12, 7)
              << QPoint(12, 3) << QPoint(11, 3);
    p.drawPolygon(shape);
}

void drawToolbarImage(QPainter& p, int index) {
    switch (index) {
        case 0:  // new: a sheet with a folded corner
            sheet(p, 3, 1, 10, 13);
            p.drawLine(10, 1, 13, 4);
            p.drawLine(10, 1, 10, 4);
            p.drawLine(10, 4, 13, 4);
            break;
        case 1:  // open: a folder
            p.setPen(kInk);
            p.setBrush(kYellow);
            p.drawRect(1, 4, 12, 9);
            p.setBrush(kOlive);
            p.drawPolygon(QPolygon({QPoint(1, 13), QPoint(4, 7), QPoint(15, 7), QPoint(13, 13)}));
            p.drawRect(2, 2, 4, 2);
            break;
        case 2:  // save: a floppy disk
            p.setPen(kInk);
            p.setBrush(kNavy);
            p.drawRect(1, 1, 13, 13);
            p.setBrush(kPaper);
            p.drawRect(3, 1, 9, 5);
            p.setBrush(kSilver);
            p.drawRect(4, 9, 7, 5);
            p.fillRect(8, 10, 2, 3, kNavy);
            break;
        case 3:  // print: a printer with a sheet
            sheet(p, 4, 0, 7, 6);
            p.setBrush(kSilver);
            p.drawRect(1, 6, 13, 5);
            p.setBrush(kGrey);
            p.drawRect(3, 11, 9, 3);
            p.fillRect(11, 8, 2, 1, kGreen);
            break;
        case 4:  // copy: two sheets
            sheet(p, 1, 1, 8, 9);
            sheet(p, 6, 4, 8, 10);
            p.setPen(kNavy);
            for (int y = 7; y <= 11; y += 2) p.drawLine(8, y, 12, y);
            break;
        case 5:  // paste: a clipboard with a sheet
            p.setPen(kInk);
            p.setBrush(kOlive);
            p.drawRect(1, 2, 10, 12);
            p.setBrush(kSilver);
            p.drawRect(4, 0, 4, 3);
            sheet(p, 6, 6, 8, 8);
            break;
        case 6:  // new client: a person with a star
            person(p, 1, 2, kTeal);
            p.setPen(kRed);
            p.drawLine(12, 1, 12, 7);
            p.drawLine(9, 4, 15, 4);
            p.drawLine(10, 2, 14, 6);
            p.drawLine(14, 2, 10, 6);
            break;
        case 7:  // edit client: a person with a pencil
            person(p, 1, 2, kTeal);
            p.setPen(QPen(kOlive, 2));
            p.drawLine(10, 13, 15, 6);
            p.setPen(kInk);
            p.drawPoint(10, 14);
            break;
        case 8:  // delete client: a person with a red cross
            person(p, 1, 2, kTeal);
            p.setPen(QPen(kRed, 2));
            p.drawLine(10, 8, 15, 13);
            p.drawLine(15, 8, 10, 13);
            break;
        case 9:  // write radio: an arrow into the radio
            radio(p);
            arrow(p, true, kRed);
            break;
        case 10:  // read radio: an arrow out of the radio
            radio(p);
            arrow(p, false, kGreen);
            break;
        default:  // help: a question mark in a bubble
            p.setPen(kInk);
            p.setBrush(kYellow);
            p.drawEllipse(1, 0, 13, 13);
            p.setPen(QPen(kNavy, 2));
            p.drawArc(5, 2, 5, 5, 180 * 16, -270 * 16);
            p.drawLine(8, 7, 8, 9);
            p.drawPoint(8, 11);
            break;
    }
}

// A mountain lake under an evening sky with a mast sending waves: the program's picture.
void drawLandscape(QPainter& p, const QRectF& r) {
    QLinearGradient sky(r.topLeft(), QPointF(r.left(), r.top() + r.height() * 0.6));
    sky.setColorAt(0, QColor(12, 28, 74));
    sky.setColorAt(1, QColor(232, 150, 80));
    p.fillRect(r, sky);
    const double w = r.width(), h = r.height(), x0 = r.left(), y0 = r.top();
    const double shore = y0 + h * 0.62;

    QPainterPath far;
    far.moveTo(x0, shore);
    far.lineTo(x0 + w * 0.18, y0 + h * 0.30);
    far.lineTo(x0 + w * 0.32, y0 + h * 0.44);
    far.lineTo(x0 + w * 0.52, y0 + h * 0.22);
    far.lineTo(x0 + w * 0.75, y0 + h * 0.46);
    far.lineTo(x0 + w * 0.88, y0 + h * 0.34);
    far.lineTo(x0 + w, y0 + h * 0.42);
    far.lineTo(x0 + w, shore);
    far.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(54, 60, 96));
    p.drawPath(far);
    p.setBrush(QColor(235, 235, 245));  // snow on the highest peak
    p.drawPolygon(
        QPolygonF({QPointF(x0 + w * 0.52, y0 + h * 0.22), QPointF(x0 + w * 0.47, y0 + h * 0.28),
                   QPointF(x0 + w * 0.57, y0 + h * 0.27)}));

    QLinearGradient water(QPointF(x0, shore), QPointF(x0, y0 + h));
    water.setColorAt(0, QColor(70, 90, 140));
    water.setColorAt(1, QColor(10, 20, 50));
    p.fillRect(QRectF(x0, shore, w, y0 + h - shore), water);
    p.setPen(QPen(QColor(240, 170, 100, 150), 1));
    for (int i = 0; i < 6; ++i) {
        double y = shore + 6 + i * 7;
        p.drawLine(QPointF(x0 + w * (0.35 + i * 0.02), y), QPointF(x0 + w * (0.6 - i * 0.02), y));
    }

    // The mast on the left shore and its waves.
    const QPointF foot(x0 + w * 0.14, shore);
    const QPointF top(x0 + w * 0.14, y0 + h * 0.16);
    p.setPen(QPen(QColor(20, 20, 30), 2));
    p.drawLine(foot, top);
    p.drawLine(QPointF(foot.x() - 10, foot.y()), QPointF(top.x(), top.y() + 20));
    p.drawLine(QPointF(foot.x() + 10, foot.y()), QPointF(top.x(), top.y() + 20));
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 3; ++i) {
        p.setPen(QPen(QColor(255, 230, 160, 230 - i * 50), 2));
        const double radius = 10.0 * i;
        p.drawArc(QRectF(top.x() - radius, top.y() - radius, 2 * radius, 2 * radius), -50 * 16,
                  100 * 16);
    }
}

}  // namespace

QPixmap toolbarImage(int index) {
    QPixmap image(kToolbarImageWidth, kToolbarImageHeight);
    image.fill(Qt::transparent);
    QPainter p(&image);
    drawToolbarImage(p, index);
    return image;
}

QIcon applicationIcon() {
    QIcon icon;
    for (int size : {16, 32, 48}) {
        QPixmap picture(size, size);
        picture.fill(Qt::transparent);
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath clip;
        clip.addRoundedRect(QRectF(0, 0, size, size), size / 6.0, size / 6.0);
        p.setClipPath(clip);
        drawLandscape(p, QRectF(0, 0, size, size));
        icon.addPixmap(picture);
    }
    return icon;
}

QPixmap splashPicture() {
    QPixmap picture(kSplashWidth, kSplashHeight);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    drawLandscape(p, QRectF(0, 0, kSplashWidth, kSplashHeight));

    QFont title("DejaVu Serif", 26, QFont::Bold);
    p.setFont(title);
    p.setPen(QColor(0, 0, 0, 120));
    const QRect titleBox(0, 188, kSplashWidth, 40);
    p.drawText(titleBox.translated(2, 2), Qt::AlignCenter, "Tarn DataBase");
    p.setPen(QColor(255, 244, 214));
    p.drawText(titleBox, Qt::AlignCenter, "Tarn DataBase");
    p.setFont(QFont("DejaVu Sans", 10));
    p.setPen(QColor(220, 228, 255));
    p.drawText(QRect(0, 228, kSplashWidth, 20), Qt::AlignCenter,
               "Client configurations for HF SSB transceivers");
    p.setFont(QFont("DejaVu Sans", 8));
    p.drawText(QRect(0, 256, kSplashWidth - 10, 18), Qt::AlignRight | Qt::AlignVCenter,
               "Version " TARN_FILE_VERSION);
    p.setPen(QColor(255, 255, 255, 90));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, kSplashWidth - 1, kSplashHeight - 1);
    return picture;
}

QPixmap aboutPicture() {
    QPixmap picture(96, 74);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    drawLandscape(p, QRectF(0, 0, 96, 74));
    return picture;
}

}  // namespace tarn
