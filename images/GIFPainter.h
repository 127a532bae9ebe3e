// The animation painter: times an animation's frames and hands each drawing step
// to the user-interface thread. Threaded, it runs its own thread that only keeps
// time and waits; unthreaded, the caller drives it step by step from a timer.
#pragma once

#include "platform/ThreadPriority.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class TGIFImage;

// Draw option bits.
constexpr std::uint16_t goThreaded = 0x0001;
constexpr std::uint16_t goTransparent = 0x0002;
constexpr std::uint16_t goAnimate = 0x0004;
constexpr std::uint16_t goLoop = 0x0008;
constexpr std::uint16_t goLoopContinously = 0x0010;
constexpr std::uint16_t goValidateCanvas = 0x0020;
constexpr std::uint16_t goDirectDraw = 0x0040;
constexpr std::uint16_t goClearOnLoop = 0x0080;
constexpr std::uint16_t goTile = 0x0100;

// What the painter needs of each frame, taken from the image before it starts,
// so that the painter thread never touches the image.
struct TGIFPaintFrame {
    bool hasControl = false; // a graphic control extension
    int delay = 0;           // hundredths of a second
    int disposal = 0;
    int loops = -1;          // the loop extension's count; -1: none
};

std::vector<TGIFPaintFrame> PaintPlan(TGIFImage& image);

class TGIFPainter {
public:
    using TStep = std::function<void()>;
    // Hands a step to the user-interface thread; must not block. Unthreaded
    // painters run on that thread already and may run the step at once.
    using TPoster = std::function<void(TStep step)>;
    // Draws frame index (on the user-interface thread).
    using TDrawFrame = std::function<void(int index)>;
    using TEvent = std::function<void()>;

    // A plan of one frame is never threaded and never animated. A threaded
    // painter's thread runs at the priority.
    TGIFPainter(std::vector<TGIFPaintFrame> plan, std::uint16_t options, int speed, TPoster post, TDrawFrame draw,
                TThreadPriority priority = tpNormal);
    ~TGIFPainter();
    TGIFPainter(const TGIFPainter&) = delete;
    TGIFPainter& operator=(const TGIFPainter&) = delete;

    bool Threaded() const { return (options_ & goThreaded) != 0; }
    // Threaded: starts the thread. Unthreaded: nothing; the caller calls Next.
    void Start();
    // Ends the painting at once: a wait ends early; no step is posted afterwards.
    void Stop();
    bool Terminated() const { return terminated_; }
    // Painting has come to its end (or was stopped).
    bool Ended() const { return ended_ || terminated_; }
    // Waits until a threaded painter's thread has ended.
    void WaitFor();

    // One step: the next frame is drawn; answers how long to wait before the next
    // step in milliseconds (-1 waits until stopped), or -2 once painting has ended.
    // Painting ends with the step that draws the last frame of the last pass: the
    // end comes at the end of the frames, not after the last one's delay.
    int Next();

    // The wait after a frame: its delay (10 units without one, at least 3) times
    // 12 ms, scaled by 100 / speed; unthreaded delays stop at 1000 units. Speed
    // below 1 waits until stopped (threaded) or 12 s (unthreaded).
    static int FrameWait(const TGIFPaintFrame& frame, bool threaded, int speed);

    // Fired on the user-interface thread through the poster; set them before Start.
    TEvent OnStartPaint;
    TEvent OnPaint;
    TEvent OnAfterPaint;
    TEvent OnLoop;
    TEvent OnEndPaint;

private:
    void Run();
    void Fire(const TEvent& event);
    // Ends the painting; answers kEnded.
    int End();

    const std::vector<TGIFPaintFrame> plan_;
    const std::uint16_t options_;
    const int speed_;
    const TPoster post_;
    const TDrawFrame draw_;
    const TThreadPriority priority_;

    std::atomic<bool> terminated_{false};
    std::mutex mutex_;
    std::condition_variable wake_;
    std::thread thread_;

    // State of the painting; the painter thread's alone while it runs.
    bool started_ = false;
    std::atomic<bool> ended_{false};
    int active_ = 0;
    int loopCounter_ = 1;
    int loopStart_ = 0;
    bool loopSeen_ = false;
};
