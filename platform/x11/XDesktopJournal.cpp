// The X display's input through the X Record and XTest extensions.
#include "platform/x11/XDesktopJournal.h"

#include "platform/x11/XJournalEvents.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/record.h>

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

namespace vx::x11 {

struct TXDesktopJournal::TState {
    // Asks, plays back and looks keys up.
    Display* Control = nullptr;
    // Carries the recorded input while recording: the extension wants a connection of its own.
    Display* Data = nullptr;
    XRecordContext Context = 0;
    std::function<void(const recorder::TEventMsg&)> Record;
    bool Processing = false;
    bool StopPending = false;
    TXPlayback Playback;
    std::vector<KeyCode> HeldKeys;
    std::vector<unsigned> HeldButtons;
};

namespace {

// The recorded events and their kinds.
constexpr std::pair<int, TXInput::TKind> Kinds[] = {
    {KeyPress, TXInput::TKind::KeyDown},         {KeyRelease, TXInput::TKind::KeyUp},
    {ButtonPress, TXInput::TKind::ButtonDown},   {ButtonRelease, TXInput::TKind::ButtonUp},
    {MotionNotify, TXInput::TKind::Motion},
};

std::optional<TXInput> InputOf(Display* display, const xEvent& event)
{
    const int type = event.u.u.type & 0x7F;
    const auto kind = std::find_if(std::begin(Kinds), std::end(Kinds), [type](const auto& k) { return k.first == type; });
    if (kind == std::end(Kinds))
        return std::nullopt;
    TXInput input;
    input.Kind = kind->second;
    if (input.Kind == TXInput::TKind::KeyDown || input.Kind == TXInput::TKind::KeyUp)
        input.Keysym = XkbKeycodeToKeysym(display, event.u.u.detail, 0, 0);
    else
        input.Button = event.u.u.detail;
    input.X = event.u.keyButtonPointer.rootX;
    input.Y = event.u.keyButtonPointer.rootY;
    input.State = event.u.keyButtonPointer.state;
    return input;
}

void Intercepted(XPointer closure, XRecordInterceptData* data)
{
    auto* x = reinterpret_cast<TXDesktopJournal::TState*>(closure);
    // The length counts 4-byte units.
    if (data->category == XRecordFromServer && data->data_len * 4 >= sizeof(xEvent) && !x->StopPending) {
        const auto* event = reinterpret_cast<const xEvent*>(data->data);
        if (const std::optional<TXInput> input = InputOf(x->Control, *event))
            if (const std::optional<recorder::TEventMsg> record = JournalRecordOf(*input))
                x->Record(*record);
    }
    XRecordFreeData(data);
}

template <class T> void Remember(std::vector<T>& held, T what, bool press)
{
    const auto found = std::find(held.begin(), held.end(), what);
    if (press && found == held.end())
        held.push_back(what);
    else if (!press && found != held.end())
        held.erase(found);
}

} // namespace

std::unique_ptr<TXDesktopJournal> TXDesktopJournal::Open()
{
    auto state = std::make_unique<TState>();
    state->Control = XOpenDisplay(nullptr);
    if (!state->Control)
        return nullptr;
    int major = 0;
    int minor = 0;
    int event = 0;
    int error = 0;
    if (!XRecordQueryVersion(state->Control, &major, &minor) ||
        !XTestQueryExtension(state->Control, &event, &error, &major, &minor)) {
        XCloseDisplay(state->Control);
        return nullptr;
    }
    return std::unique_ptr<TXDesktopJournal>(new TXDesktopJournal(std::move(state)));
}

TXDesktopJournal::TXDesktopJournal(std::unique_ptr<TState> state) : x_(std::move(state)) {}

TXDesktopJournal::~TXDesktopJournal()
{
    x_->StopPending = false;
    finishStop();
    ReleaseHeld();
    XCloseDisplay(x_->Control);
}

bool TXDesktopJournal::StartRecording(std::function<void(const recorder::TEventMsg&)> record)
{
    if (x_->Data)
        return false;
    XRecordRange* range = XRecordAllocRange();
    if (!range)
        return false;
    range->device_events.first = KeyPress;
    range->device_events.last = MotionNotify;
    XRecordClientSpec clients = XRecordAllClients;
    x_->Context = XRecordCreateContext(x_->Control, 0, &clients, 1, &range, 1);
    XFree(range);
    XSync(x_->Control, False);
    x_->Data = x_->Context ? XOpenDisplay(DisplayString(x_->Control)) : nullptr;
    x_->Record = std::move(record);
    x_->StopPending = false;
    if (!x_->Data || !XRecordEnableContextAsync(x_->Data, x_->Context, Intercepted, reinterpret_cast<XPointer>(x_.get()))) {
        finishStop();
        return false;
    }
    XFlush(x_->Data);
    return true;
}

int TXDesktopJournal::RecordingSocket() const
{
    return x_->Data ? ConnectionNumber(x_->Data) : -1;
}

void TXDesktopJournal::ProcessRecorded()
{
    if (!x_->Data || x_->Processing)
        return;
    x_->Processing = true;
    XRecordProcessReplies(x_->Data);
    x_->Processing = false;
    if (x_->StopPending) {
        x_->StopPending = false;
        finishStop();
    }
}

void TXDesktopJournal::StopRecording()
{
    if (x_->Processing)
        x_->StopPending = true;
    else
        finishStop();
}

void TXDesktopJournal::finishStop()
{
    if (x_->Context) {
        XRecordDisableContext(x_->Control, x_->Context);
        XRecordFreeContext(x_->Control, x_->Context);
        XSync(x_->Control, False);
        x_->Context = 0;
    }
    if (x_->Data) {
        XCloseDisplay(x_->Data);
        x_->Data = nullptr;
    }
    x_->Record = nullptr;
}

void TXDesktopJournal::Play(const recorder::TEventMsg& event)
{
    Display* display = x_->Control;
    for (const TXAction& action : x_->Playback.ActionsOf(event)) {
        switch (action.Kind) {
        case TXAction::TKind::Motion:
            XTestFakeMotionEvent(display, -1, action.X, action.Y, CurrentTime);
            break;
        case TXAction::TKind::Button:
            XTestFakeButtonEvent(display, action.Button, action.Press, CurrentTime);
            Remember(x_->HeldButtons, action.Button, action.Press);
            break;
        case TXAction::TKind::Key:
            if (const KeyCode code = XKeysymToKeycode(display, action.Keysym); code != 0) {
                XTestFakeKeyEvent(display, code, action.Press, CurrentTime);
                Remember(x_->HeldKeys, code, action.Press);
            }
            break;
        }
    }
    XFlush(display);
}

void TXDesktopJournal::ReleaseHeld()
{
    for (const KeyCode code : x_->HeldKeys)
        XTestFakeKeyEvent(x_->Control, code, False, CurrentTime);
    for (const unsigned button : x_->HeldButtons)
        XTestFakeButtonEvent(x_->Control, button, False, CurrentTime);
    x_->HeldKeys.clear();
    x_->HeldButtons.clear();
    XFlush(x_->Control);
}

} // namespace vx::x11
