#include <QObject>

#include "UiTests.h"

std::unique_ptr<QObject> MakeDialogsTest()
{
    return std::make_unique<QObject>();
}
