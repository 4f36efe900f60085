#pragma once

#include <QElapsedTimer>
#include <QLockFile>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "Recovery.h"
#include "RecoveryFolder.h"

namespace chokusho {

/** The folder where the program keeps its recovery pairs: the user's data folder + "/recovery". */
QString DefaultRecoveryFolder();

/** The recovery rules' clock: a steady timer, the local time, and a single-shot alarm. */
class RecoveryTimer : public RecoveryClock {
public:
    RecoveryTimer();
    /** What the alarm calls. */
    void onAlarm(std::function<void()> alarm);

    std::int64_t nowMs() override { return elapsed_.elapsed(); }
    std::string localTime() override;
    void wakeAfter(std::int64_t ms) override;

private:
    QElapsedTimer elapsed_;
    QTimer timer_;
};

/**
 * A recovery folder in which each instance holds a lock file of its own (NAME.lock) while it
 * runs: a pair whose lock is held belongs to a running instance and is not offered. A lock left
 * by an instance that died is stale (its process is gone) and counts as free.
 */
class LockedRecoveryFolder : public RecoveryFolder {
public:
    LockedRecoveryFolder(const QString& folder, std::string ownName);

    bool isHeld(const std::string& name) override;

private:
    QString lockPath(const std::string& name) const;

    std::string ownName_;
    std::unique_ptr<QLockFile> own_;
};

/** What an instance keeps its unsaved work with: the folder, the clock and the rules. */
struct RecoveryServices {
    RecoveryServices(const DocumentState& state, FramePort& port, const QString& folder);
    RecoveryServices(const DocumentState& state, FramePort& port, const QString& folder, const std::string& name);

    RecoveryTimer timer;
    LockedRecoveryFolder store;
    RecoveryKeeper keeper;
};

}  // namespace chokusho
