#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <utility>

namespace chokusho {

/**
 * How far an export has come, told to the progress it was given (an ExportProgress of
 * DrawingOutput.h), whose answer says whether to go on. An export runs through parts, each ending
 * at a fraction of the whole, and a part of many steps (the items painted) moves a step at a time.
 * Steps tell each percent gained; checks, at the ends of parts and wherever the export cannot tell
 * how far it is, tell always. Once the progress answers no, the meter stays stopped and tells
 * nothing more.
 */
class ProgressMeter {
public:
    using Report = std::function<bool(double done)>;

    explicit ProgressMeter(Report report) : report_(std::move(report)) {}

    /** A part of `steps` steps that ends at `until`. */
    void part(double until, std::size_t steps)
    {
        from_ = done_;
        until_ = until;
        steps_ = std::max<std::size_t>(steps, 1);
        step_ = 0;
    }
    /** One step of the part done; false once the export is to stop. */
    bool step()
    {
        if (!report_ || stopped_)
            return !stopped_;
        ++step_;
        done_ = from_ + (until_ - from_) * static_cast<double>(step_) / static_cast<double>(steps_);
        return static_cast<int>(done_ * 100) == told_ || check(done_);
    }
    /** The whole done up to `done`; false once the export is to stop. */
    bool check(double done)
    {
        done_ = std::max(done_, done);
        if (report_ && !stopped_) {
            told_ = static_cast<int>(done_ * 100);
            stopped_ = !report_(done_);
        }
        return !stopped_;
    }
    /** Whether to go on, where the export cannot tell how far it is. */
    bool goOn() { return check(done_); }
    bool stopped() const { return stopped_; }

private:
    Report report_;
    double done_ = 0, from_ = 0, until_ = 0;
    std::size_t step_ = 0, steps_ = 1;
    int told_ = -1;
    bool stopped_ = false;
};

}  // namespace chokusho
