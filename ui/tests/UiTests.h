#pragma once

#include <QObject>
#include <memory>

// The test classes of the ui layer; UiTestsMain runs each in turn.
std::unique_ptr<QObject> MakeAboutBoxTest();
std::unique_ptr<QObject> MakeCanvasTest();
std::unique_ptr<QObject> MakeMainWindowTest();
std::unique_ptr<QObject> MakeDialogsTest();
std::unique_ptr<QObject> MakeFilesTest();
std::unique_ptr<QObject> MakeModesTest();
