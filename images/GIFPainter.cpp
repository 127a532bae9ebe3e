// The animation painter's timing, loops and thread.
#include "images/GIFPainter.h"

#include <algorithm>
#include <chrono>

namespace {

constexpr int kMillisecondsPerUnit = 12;
constexpr int kDefaultDelay = 10;
constexpr int kMinimumDelay = 3;
constexpr int kMaximumUnthreadedDelay = 1000;
constexpr int kUnthreadedEndless = 12000;
constexpr int kForever = -1;
constexpr int kEnded = -2;

} // namespace

TGIFPainter::TGIFPainter(std::vector<TGIFPaintFrame> plan, std::uint16_t options, int speed, TPoster post,
                         TDrawFrame draw, TThreadPriority priority)
    : plan_(std::move(plan)),
      options_(plan_.size() < 2 ? static_cast<std::uint16_t>(options & ~(goThreaded | goAnimate)) : options),
      speed_(speed), post_(std::move(post)), draw_(std::move(draw)), priority_(priority)
{
}

TGIFPainter::~TGIFPainter()
{
    Stop();
    WaitFor();
}

int TGIFPainter::FrameWait(const TGIFPaintFrame& frame, bool threaded, int speed)
{
    if (speed < 1)
        return threaded ? kForever : kUnthreadedEndless;
    int units = frame.hasControl && frame.delay > 0 ? std::max(frame.delay, kMinimumDelay) : kDefaultDelay;
    if (!threaded)
        units = std::min(units, kMaximumUnthreadedDelay);
    return static_cast<int>((static_cast<long long>(units) * kMillisecondsPerUnit * 100 + speed / 2) / speed);
}

void TGIFPainter::Start()
{
    if (Threaded() && !thread_.joinable())
        thread_ = std::thread([this] {
            SetCurrentThreadPriority(priority_);
            Run();
        });
}

void TGIFPainter::Stop()
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        terminated_ = true;
    }
    wake_.notify_all();
}

void TGIFPainter::WaitFor()
{
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id())
        thread_.join();
}

void TGIFPainter::Fire(const TEvent& event)
{
    if (event && !terminated_)
        post_(event);
}

void TGIFPainter::Run()
{
    for (;;) {
        const int wait = Next();
        if (wait == kEnded)
            return;
        std::unique_lock<std::mutex> lock(mutex_);
        if (wait == kForever)
            wake_.wait(lock, [this] { return terminated_.load(); });
        else
            wake_.wait_for(lock, std::chrono::milliseconds(wait), [this] { return terminated_.load(); });
    }
}

int TGIFPainter::End()
{
    ended_ = true;
    Fire(OnEndPaint);
    return kEnded;
}

int TGIFPainter::Next()
{
    if (ended_)
        return kEnded;
    if (terminated_ || plan_.empty())
        return End();
    if (!started_) {
        started_ = true;
        Fire(OnStartPaint);
    }
    const TGIFPaintFrame& frame = plan_[static_cast<size_t>(active_)];
    if (frame.loops >= 0 && !loopSeen_) {
        // The first loop extension of the run says how many passes there are in all.
        loopSeen_ = true;
        loopCounter_ = frame.loops;
        loopStart_ = active_;
        if ((frame.loops == 0 || (options_ & goLoopContinously)) && Threaded())
            loopCounter_ = -1;
    }
    Fire(OnPaint);
    if (!terminated_) {
        const int index = active_;
        post_([draw = draw_, index] { draw(index); });
    }
    Fire(OnAfterPaint);
    ++active_;
    // Without animation the pass ends after one frame.
    if (!(options_ & goAnimate))
        active_ = static_cast<int>(plan_.size());
    if (active_ >= static_cast<int>(plan_.size())) {
        if (loopCounter_ > 0)
            --loopCounter_;
        const bool again = (options_ & goAnimate) && (options_ & goLoop) &&
                           (loopCounter_ != 0 || (options_ & goLoopContinously));
        if (!again)
            return End();
        active_ = loopStart_;
        Fire(OnLoop);
    }
    // The wait before the next frame is the delay of the one just drawn.
    return FrameWait(frame, Threaded(), speed_);
}
