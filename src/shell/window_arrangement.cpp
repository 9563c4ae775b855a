#include "shell/window_arrangement.h"

#include <algorithm>

namespace tarn {
namespace {

// The cascade places of an area: `perRound` corners down the diagonal, then the next
// round `shift` further right.
struct Diagonal {
    int step, perRound, shift;
    QPoint corner(int i) const {
        const int slot = i % perRound;
        return {slot * step + i / perRound * shift, slot * step};
    }
};

Diagonal diagonalOf(const QSize& area, int step, const QSize& least) {
    step = std::max(1, step);
    const QSize room = area - least.boundedTo(area);
    return {step, std::min(room.width(), room.height()) / step + 1, std::max(1, step / 2)};
}

}  // namespace

QList<QRect> cascadeRects(const QSize& area, int count, int step, const QSize& least) {
    QList<QRect> rects;
    if (count < 1) return rects;
    Diagonal diagonal = diagonalOf(area, step, least);
    const int used = std::min(count, diagonal.perRound);
    const int rounds = (count + diagonal.perRound - 1) / diagonal.perRound;
    // Later rounds share out the width the diagonal leaves, half a step each at most.
    const int spare = area.width() - least.boundedTo(area).width() - (used - 1) * diagonal.step;
    if (rounds > 1) diagonal.shift = std::clamp(spare / (rounds - 1), 1, diagonal.shift);
    const QSize size = (area - QSize((used - 1) * diagonal.step + (rounds - 1) * diagonal.shift,
                                     (used - 1) * diagonal.step))
                           .expandedTo(QSize(1, 1));
    for (int i = 0; i < count; ++i) rects.append(QRect(diagonal.corner(i), size));
    return rects;
}

QRect newWindowRect(const QSize& area, const QSize& wanted, const QSize& least, int step,
                    const QPoint* after, const QList<QPoint>& taken) {
    const QSize smallest = least.boundedTo(area);
    const auto free = [&](const QPoint& corner) {
        return corner.x() + smallest.width() <= area.width() &&
               corner.y() + smallest.height() <= area.height() && !taken.contains(corner);
    };
    const auto at = [&](const QPoint& corner) {
        const QSize room(area.width() - corner.x(), area.height() - corner.y());
        return QRect(corner, wanted.boundedTo(room).expandedTo(smallest));
    };
    if (after && free(*after + QPoint(step, step))) return at(*after + QPoint(step, step));
    const Diagonal diagonal = diagonalOf(area, step, least);
    // Every corner taken rules out one place at most, so this many places find a free one
    // unless the rounds run out of width first.
    const auto places = static_cast<int>(taken.size() + 1) * diagonal.perRound;
    for (int i = 0; i < places; ++i)
        if (free(diagonal.corner(i))) return at(diagonal.corner(i));
    return at(QPoint());
}

}  // namespace tarn
