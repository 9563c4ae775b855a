#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace tarn {

// Where windows go in the MDI area: a cascade of `count` windows, each `step` right of and
// below the one before, all inside `area` and at least `least` large (as far as the area
// allows). When the diagonal has no room for all, the next round starts again at the top,
// half a step further right each time, so no two windows share a corner.
QList<QRect> cascadeRects(const QSize& area, int count, int step, const QSize& least);

// The place of a new window of size `wanted`: one step right of and below `after` (the
// active window's corner, when there is one), else the first cascade place free of every
// corner in `taken`; the window is made smaller where it would leave the area.
QRect newWindowRect(const QSize& area, const QSize& wanted, const QSize& least, int step,
                    const QPoint* after, const QList<QPoint>& taken);

}  // namespace tarn
