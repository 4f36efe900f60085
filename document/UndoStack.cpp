#include "UndoStack.h"

#include <utility>

namespace chokusho {

void UndoStack::push(const BlockData& record, const std::string& label)
{
    head_ = (head_ + kCapacity - 1) % kCapacity;  // on a full stack this is the oldest slot
    slots_[head_] = record;
    labels_[head_] = label;
    if (count_ < kCapacity)
        ++count_;
}

bool UndoStack::pop(BlockData& out)
{
    if (count_ == 0)
        return false;
    out = std::move(slots_[head_]);
    slots_[head_] = BlockData{};
    labels_[head_].clear();
    head_ = (head_ + 1) % kCapacity;
    --count_;
    return true;
}

}  // namespace chokusho
