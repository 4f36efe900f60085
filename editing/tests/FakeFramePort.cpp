#include "FakeFramePort.h"

namespace chokusho::test {

void FakeFramePort::setScrollValue(ScrollBar bar, int value)
{
    int& current = bar == ScrollBar::Horizontal ? hScroll : vScroll;
    if (current == value)
        return;
    current = value;
    if (onScrollChanged)
        onScrollChanged(bar, value);
}

}  // namespace chokusho::test
