#include "Icons.h"

#include <mutex>

// Q_INIT_RESOURCE must be used outside any namespace. The icons live in a static library,
// whose resource initializer the linker would otherwise drop.
static void InitIconResources() { Q_INIT_RESOURCE(icons); }

namespace chokusho {

QIcon UiIcon(const QString& fileName)
{
    static std::once_flag once;
    std::call_once(once, InitIconResources);
    return QIcon(QStringLiteral(":/icons/") + fileName);
}

QIcon ProgramIcon() { return UiIcon(QStringLiteral("chokusho.svg")); }

}  // namespace chokusho
