// Hover tracking shared by all controls of one class: one timer per class,
// owned by the control the mouse is over, that notices when the mouse has
// gone even if no leave event arrives.
#pragma once

#include <memory>

class QTimer;
class QWidget;

class TFlatHoverClient {
public:
    virtual void MouseEnter() = 0;
    virtual void MouseLeave() = 0;
    virtual QWidget* HoverWidget() = 0;

protected:
    ~TFlatHoverClient() = default;
};

class TFlatHoverTracker {
public:
    static constexpr int Interval = 100;

    TFlatHoverTracker();
    TFlatHoverTracker(const TFlatHoverTracker&) = delete;
    TFlatHoverTracker& operator=(const TFlatHoverTracker&) = delete;
    ~TFlatHoverTracker();

    // Every control of the class attaches in its constructor and detaches in its destructor;
    // the timer lives while at least one is attached.
    void Attach();
    void Detach(TFlatHoverClient* client);
    // The mouse moved over client (inside tells whether it is within the control).
    void MouseMoved(TFlatHoverClient* client, bool inside);
    // One timer tick: the owner hears MouseLeave once the mouse is elsewhere.
    void Tick();
    // Stops the timer when client owns it.
    void Release(TFlatHoverClient* client);

    TFlatHoverClient* Owner() const { return owner_; }
    bool Running() const;
    int LiveCount() const { return count_; }

private:
    std::unique_ptr<QTimer> timer_;
    TFlatHoverClient* owner_ = nullptr;
    int count_ = 0;
};
