#pragma once

#include <QSize>

namespace tarn {

// Dialog sizes are given in dialog units of an 8-point dialog font: a quarter of the
// average character width across, an eighth of the character height down.
inline int dluX(int units) {
    return units * 6 / 4;
}
inline int dluY(int units) {
    return units * 13 / 8;
}
inline QSize dluSize(int width, int height) {
    return {dluX(width), dluY(height)};
}

}  // namespace tarn
