#include "FakeFramePort.h"

#include <utility>

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

MsgAnswer FakeFramePort::messageBox(const MessageBoxRequest& request)
{
    messages.push_back(request);
    if (answers.empty())
        return MsgAnswer::Ok;
    const MsgAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

std::string FakeFramePort::saveFileDialog(const SaveDialogRequest& request)
{
    saveDialogs.push_back(request);
    if (savePaths.empty())
        return {};
    std::string path = savePaths.front();
    savePaths.pop_front();
    return path;
}

std::optional<BlockData> FakeFramePort::answerPointTable(std::optional<BlockData> start)
{
    pointTableShown.push_back(std::move(start));
    return pointTable ? pointTable() : std::nullopt;
}

PickedBlock FakeFramePort::showPicker()
{
    ++pickerShown;
    PickedBlock picked{picker ? picker() : std::string(), {}};
    if (!picked.BlkNm.empty())
        picked.FileName = pickedFile;
    return picked;
}

bool FakeFramePort::openDocument(const std::string& path)
{
    openedDocuments.push_back(path);
    return documentOpens;
}

}  // namespace chokusho::test
