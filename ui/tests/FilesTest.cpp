#include <QObject>

#include "UiTests.h"

std::unique_ptr<QObject> MakeFilesTest()
{
    return std::make_unique<QObject>();
}
