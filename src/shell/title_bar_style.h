#pragma once

#include <QProxyStyle>
#include <QString>

class QFontMetrics;

namespace tarn {

// The title bar of a window on a file: the file name first, "*" after it while modified,
// then the folder ("fleet.tdb* — /home/dealer"), the folder shortened in the middle and
// then the name at its end where the bar is too narrow. A title that names no folder
// ("<NoName>") is shown as it is.
QString titleBarText(const QFontMetrics& metrics, const QString& title, bool modified, int width);

// The program's style: the platform's own, but the title bars of MDI windows drawn with
// titleBarText; the window title itself (the full path, as the Window menu lists it) stays
// as it is.
class TitleBarStyle final : public QProxyStyle {
  public:
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override;
};

}  // namespace tarn
