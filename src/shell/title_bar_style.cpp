#include "shell/title_bar_style.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMdiSubWindow>
#include <QStyleOptionTitleBar>
#include <QWidget>

namespace tarn {

QString titleBarText(const QFontMetrics& metrics, const QString& title, bool modified, int width) {
    const qsizetype cut = std::max(title.lastIndexOf('/'), title.lastIndexOf('\\'));
    const QString name = title.mid(cut + 1) + (modified ? "*" : "");
    if (cut < 0 || name.size() == (modified ? 1 : 0))
        return metrics.elidedText(modified ? title + "*" : title, Qt::ElideRight, width);
    const QString named = name + QString::fromUtf8(" \u2014 ");
    const int room = width - metrics.horizontalAdvance(named);
    if (room < metrics.horizontalAdvance(QString::fromUtf8("/\u2026")))
        return metrics.elidedText(name, Qt::ElideRight, width);
    return named +
           metrics.elidedText(title.left(std::max<qsizetype>(cut, 1)), Qt::ElideMiddle, room);
}

void TitleBarStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                       QPainter* painter, const QWidget* widget) const {
    const auto* bar = qstyleoption_cast<const QStyleOptionTitleBar*>(option);
    if (control != CC_TitleBar || !bar || !qobject_cast<const QMdiSubWindow*>(widget))
        return QProxyStyle::drawComplexControl(control, option, painter, widget);
    // Measured in bold, with a margin, as styles draw it; the style's own shortening then
    // has nothing left to cut.
    QStyleOptionTitleBar named(*bar);
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const int width = subControlRect(CC_TitleBar, bar, SC_TitleBarLabel, widget).width() - 16;
    QString title = widget->windowTitle();
    title.replace("[*]", "");
    named.text = titleBarText(QFontMetrics(font), title, widget->isWindowModified(), width);
    QProxyStyle::drawComplexControl(control, &named, painter, widget);
}

}  // namespace tarn
