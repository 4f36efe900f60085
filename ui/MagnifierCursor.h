#pragma once

#include <QCursor>

namespace chokusho {

/** Size of the zoom cursor in logical pixels. */
inline constexpr int kMagnifierCursorSize = 32;

/**
 * The cursor of the zoom modes: a magnifying glass, lens at the upper left and handle towards
 * the lower right, white with a black outline so that it shows on the black canvas. Its hot
 * spot is the top-left corner. Drawn at `devicePixelRatio` so that it stays sharp when scaled.
 */
QCursor MagnifierCursor(qreal devicePixelRatio);

}  // namespace chokusho
