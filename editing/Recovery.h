#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "BlockData.h"
#include "DocumentState.h"
#include "FramePort.h"

namespace chokusho {

/**
 * What a recovery file keeps beside the block itself: where the block belongs, how far its
 * history had come, when it was last changed and which instance wrote it.
 */
struct RecoveryInfo {
    std::string blkName;    // BlkName: the name the block was known by
    std::string blkFile;    // BlkFile: its file, bytes as on disk; empty for a new block
    std::string blkFolder;  // BlkFolder: that file's folder
    std::string dataPath;   // DataPath: where the picker was looking
    int undoCount = 0;      // the snapshots of undo, how many steps the work had taken
    std::string changed;    // the local time of the last change, "yyyy-MM-dd hh:mm:ss"
    long long pid = 0;      // the process that wrote it
};

/**
 * The side file of a recovery pair: one "key=value" line each, UTF-8 text as it is, other bytes
 * as they are; "%", line breaks and control bytes as %XX, so that a file name of any bytes comes
 * back as it was. The block's own name and kind and every real of the record are written too,
 * exactly, with a check of the block file `blockFile` they belong to: the block file rounds
 * reals to three decimals and writes "?" for characters that cp932 lacks, and a recovery must
 * bring back the very record that was being edited.
 */
[[nodiscard]] std::string FormatRecoveryInfo(const RecoveryInfo& info, const BlockData& record,
                                             std::string_view blockFile);

/**
 * Reads a side file into `info`, and puts the exact name, kind and reals it holds into `record`,
 * which holds the block file `blockFile` read beside it: when that is the block file the side
 * file was written with (`FormatRecoveryInfo`'s). False when it is no side file.
 */
[[nodiscard]] bool ParseRecoveryInfo(const std::string& text, std::string_view blockFile, RecoveryInfo& info,
                                     BlockData& record);

/** The name of an instance's recovery pair: "chokusho-<pid>-<yyyymmddhhmmss>". */
[[nodiscard]] std::string RecoveryName(long long pid, const std::string& startStamp);

/** What a recovery pair came to when read. */
struct RecoveryRead {
    bool ok = false;
    std::string problem;  // why it could not be read, as the user reads it
    BlockData record;
    RecoveryInfo info;
};

/** A recovery pair left by an instance that is no longer running. */
struct LeftRecovery {
    std::string name;
    RecoveryRead content;
};

/** Where recovery pairs are kept. */
class RecoveryStore {
public:
    virtual ~RecoveryStore() = default;
    /** Writes the pair `name` so that a failure leaves the last pair whole; throws FileWriteError. */
    virtual void write(const std::string& name, const BlockData& record, const RecoveryInfo& info) = 0;
    /** Removes the pair `name`; false when a file of it is still there. */
    virtual bool remove(const std::string& name) = 0;
    /** The names of every pair in the store, whole or not. */
    [[nodiscard]] virtual std::vector<std::string> names() = 0;
    [[nodiscard]] virtual RecoveryRead read(const std::string& name) = 0;
    /** True while the instance that writes `name` is running. */
    [[nodiscard]] virtual bool isHeld(const std::string& name) = 0;
};

/** Time for the recovery rules: a steady clock, the wall clock, and one alarm. */
class RecoveryClock {
public:
    virtual ~RecoveryClock() = default;
    /** Milliseconds of a clock that never goes back. */
    [[nodiscard]] virtual std::int64_t nowMs() = 0;
    /** The local time, "yyyy-MM-dd hh:mm:ss". */
    [[nodiscard]] virtual std::string localTime() = 0;
    /** Calls RecoveryKeeper::Due after `ms` milliseconds, in place of an alarm already set. */
    virtual void wakeAfter(std::int64_t ms) = 0;
};

/** How soon a change is written: after a short pause, then at most once per interval. */
struct RecoveryTiming {
    /** A first change waits this long, so that the steps of one action are written together. */
    std::int64_t settleMs = 2000;
    /** Two writes are at least this far apart, however busy the editing. */
    std::int64_t intervalMs = 30000;
};

/** The status bar's text when a recovery file could not be written. */
[[nodiscard]] std::string RecoveryFailureText(const std::string& reason);

/**
 * Keeps an instance's unsaved work in its recovery pair: every change is written within the
 * interval and never more often, a block that leaves nothing unsaved has no pair, and a failure
 * is told once in the status bar, never in a dialog, for the user did not ask for the write.
 */
class RecoveryKeeper {
public:
    RecoveryKeeper(const DocumentState& state, RecoveryStore& store, RecoveryClock& clock, FramePort& port,
                   std::string name, long long pid, RecoveryTiming timing = {});

    const std::string& name() const { return name_; }
    /** True while a write is scheduled. */
    bool pending() const { return pending_; }
    /** Why the last write failed, as the status bar says it; empty once a write has worked. */
    const std::string& failureNote() const { return failureNote_; }

    /** The document changed: a write is scheduled unless one is. */
    void Changed();
    /** The clock's alarm: writes when the scheduled time has come. */
    void Due();
    /** Nothing is unsaved any more (saved, new, opened): the pair goes, and no write is due. */
    void Settled();
    /** The program ends normally: its pair goes. */
    void Exit() { Settled(); }
    /**
     * The block of the left pair `left` was restored: it is written now under this instance's
     * name, and the left pair removed once that write has succeeded.
     */
    void TakeOver(const std::string& left);

    /** The pairs other instances left and no longer hold, newest change first. */
    [[nodiscard]] std::vector<LeftRecovery> LeftBehind();
    /** Removes a left pair the user chose to discard; false when it could not be removed. */
    bool Discard(const std::string& left) { return store_.remove(left); }

private:
    /** Writes the document now, or removes the pair when nothing is unsaved; true when that worked. */
    bool Write();

    const DocumentState& state_;
    RecoveryStore& store_;
    RecoveryClock& clock_;
    FramePort& port_;
    std::string name_;
    long long pid_;
    RecoveryTiming timing_;
    bool pending_ = false;
    std::int64_t due_ = 0;
    bool written_ = false;     // the pair is in the store
    bool everWritten_ = false;  // a write was tried: the next waits for the interval
    std::int64_t lastWrite_ = 0;
    std::string lastChange_;
    bool failureShown_ = false;
    std::string failureNote_;
};

}  // namespace chokusho
