#include "RecoveryServices.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QStandardPaths>
#include <algorithm>
#include <utility>

#include "FileSystem.h"
#include "QtText.h"

namespace chokusho {

namespace {

std::string InstanceName()
{
    const auto stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddhhmmss"));
    return RecoveryName(QCoreApplication::applicationPid(), ToUtf8(stamp));
}

}  // namespace

QString DefaultRecoveryFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/recovery");
}

RecoveryTimer::RecoveryTimer()
{
    elapsed_.start();
    timer_.setSingleShot(true);
}

void RecoveryTimer::onAlarm(std::function<void()> alarm) { QObject::connect(&timer_, &QTimer::timeout, std::move(alarm)); }

std::string RecoveryTimer::localTime()
{
    return ToUtf8(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
}

void RecoveryTimer::wakeAfter(std::int64_t ms) { timer_.start(static_cast<int>(std::clamp<std::int64_t>(ms, 0, 1 << 30))); }

LockedRecoveryFolder::LockedRecoveryFolder(const QString& folder, std::string ownName)
    : RecoveryFolder(PathFromUtf8(ToUtf8(folder)), Writes::InBackground), ownName_(std::move(ownName))
{
    QDir().mkpath(folder);
    own_ = std::make_unique<QLockFile>(lockPath(ownName_));
    own_->setStaleLockTime(0);
    // Without the lock (a folder that cannot be written) the writes fail as well, and say so.
    static_cast<void>(own_->tryLock(0));
}

QString LockedRecoveryFolder::lockPath(const std::string& name) const
{
    return Utf8(PathToUtf8(folder() / PathFromUtf8(name + ".lock")));
}

bool LockedRecoveryFolder::isHeld(const std::string& name)
{
    if (name == ownName_)
        return true;
    QLockFile lock(lockPath(name));
    // Only a live process counts, however long it has been running.
    lock.setStaleLockTime(0);
    if (lock.tryLock(0)) {
        lock.unlock();
        return false;
    }
    return lock.error() == QLockFile::LockFailedError;
}

RecoveryServices::RecoveryServices(const DocumentState& state, FramePort& port, const QString& folder)
    : RecoveryServices(state, port, folder, InstanceName())
{
}

RecoveryServices::RecoveryServices(const DocumentState& state, FramePort& port, const QString& folder,
                                   const std::string& name)
    : store(folder, name), keeper(state, store, timer, port, name, QCoreApplication::applicationPid())
{
    timer.onAlarm([this] { keeper.Due(); });
}

}  // namespace chokusho
