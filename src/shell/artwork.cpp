#include "shell/artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace tarn {
namespace {

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
    static constexpr const char* kNames[kToolbarImageCount] = {
        "new",        "open",        "save",          "print",       "copy",       "paste",
        "new-client", "edit-client", "delete-client", "write-radio", "read-radio", "help"};
    const int clamped = index < 0 || index >= kToolbarImageCount ? kToolbarImageCount - 1 : index;
    return QPixmap(QStringLiteral(":/images/toolbar/%1.png").arg(kNames[clamped]));
}

QIcon applicationIcon() {
    // The same files the installation puts into the icon theme, each drawn for its size.
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/images/icons/tarn-%1.png").arg(size), QSize(size, size));
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
