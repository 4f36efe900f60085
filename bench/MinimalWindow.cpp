// The least a Qt Widgets program does to show a window: one empty widget, ending once painted.
// With --text the window is one line of Japanese text instead, which is what it takes to bring
// up the font system that every window with text needs.

#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>
#include <memory>

#include "FirstPaint.h"

int main(int argc, char* argv[])
{
    const bool text = argc > 1 && std::strcmp(argv[1], "--text") == 0;
    QApplication app(argc, argv);
    const std::unique_ptr<QWidget> window = text ? std::make_unique<QLabel>(QString::fromUtf8("直立消波ブロック設定"))
                                                 : std::make_unique<QWidget>();
    chokusho::bench::QuitAfterFirstPaint quit(window.get());
    window->show();
    return app.exec();
}
