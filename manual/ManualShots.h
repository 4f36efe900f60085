#pragma once

#include <QImage>
#include <QString>
#include <map>

namespace chokusho {

/** The manual's pictures by their names in the source ("shot:main", "icon:new"). */
std::map<QString, QImage> TakeManualShots();

}  // namespace chokusho
