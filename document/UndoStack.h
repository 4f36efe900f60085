#pragma once

#include <array>
#include <string>

#include "BlockData.h"

namespace chokusho {

/**
 * Up to 101 snapshots of the document, newest at position 0.
 * Held in a ring so that a push costs one record copy however many snapshots are held;
 * a push onto a full stack drops the oldest snapshot.
 */
class UndoStack {
public:
    static constexpr int kCapacity = 101;

    /** Number of snapshots held, 0..101. */
    int UndoCount() const { return count_; }

    /** Snapshot at position i (0 = newest), 0 <= i < UndoCount(). */
    const BlockData& UndoData(int i) const { return slots_[slot(i)]; }
    const std::string& UndoText(int i) const { return labels_[slot(i)]; }

    void push(const BlockData& record, const std::string& label);
    /** Removes the newest snapshot into `out`; false when the stack is empty. */
    bool pop(BlockData& out);
    void clear() { count_ = 0; }

private:
    int slot(int i) const { return (head_ + i) % kCapacity; }

    std::array<BlockData, kCapacity> slots_{};
    std::array<std::string, kCapacity> labels_{};
    int head_ = 0;
    int count_ = 0;
};

}  // namespace chokusho
