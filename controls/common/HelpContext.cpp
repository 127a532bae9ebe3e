// The installed help handler.
#include "controls/common/HelpContext.h"

#include <utility>

namespace vx {

namespace {

THelpHandler& Handler()
{
    static THelpHandler handler;
    return handler;
}

} // namespace

void SetHelpHandler(THelpHandler handler)
{
    Handler() = std::move(handler);
}

bool HelpAvailable()
{
    return static_cast<bool>(Handler());
}

bool ShowHelpContext(int context)
{
    if (!Handler())
        return false;
    Handler()(context);
    return true;
}

} // namespace vx
