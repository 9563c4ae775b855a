#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QWidget>
#include <algorithm>

namespace tarn {

// Dialog units of a given font: a quarter of its average character width across and an
// eighth of its character height down, so a dialog laid out in these units keeps its
// proportions whatever font the desktop uses.
class FontDialogUnits {
  public:
    explicit FontDialogUnits(const QFont& font) {
        const QFontMetrics metrics(font);
        const QString alphabet =
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        baseX_ = (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2;
        baseY_ = metrics.height();
    }

    int x(int units) const { return units * baseX_ / 4; }
    int y(int units) const { return units * baseY_ / 8; }
    QRect rect(int left, int top, int width, int height) const {
        return {x(left), y(top), x(width), y(height)};
    }
    QSize size(int width, int height) const { return {x(width), y(height)}; }

    // Check boxes, radio buttons and labels keep their place but never clip their text.
    void place(QWidget* widget, int left, int top, int width, int height) const {
        const QRect r = rect(left, top, width, height);
        widget->setGeometry(r.x(), r.y(), std::max(r.width(), widget->sizeHint().width()),
                            r.height());
    }

  private:
    int baseX_ = 6;
    int baseY_ = 13;
};

}  // namespace tarn
