// Linked into every ui test program: CTest runs them on the offscreen platform, where their
// sizes, fonts and focus are checked, and a program started by hand (to list its functions or
// run one of them) runs the same way, with or without a display, unless QT_QPA_PLATFORM names
// another platform.

#include <QByteArray>
#include <QtGlobal>

namespace {

void UseOffscreenPlatform()
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
}

}  // namespace

Q_CONSTRUCTOR_FUNCTION(UseOffscreenPlatform)
