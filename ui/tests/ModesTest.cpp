#include <QObject>

#include "UiTests.h"

std::unique_ptr<QObject> MakeModesTest()
{
    return std::make_unique<QObject>();
}
