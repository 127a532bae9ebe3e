#include "platform/WindowHandle.h"

namespace vx {

namespace {

std::function<TWindowHandle()>& source()
{
    static std::function<TWindowHandle()> instance;
    return instance;
}

} // namespace

TWindowHandle ApplicationWindowHandle()
{
    return source() ? source()() : 0;
}

void SetApplicationWindowHandleSource(std::function<TWindowHandle()> handleSource)
{
    source() = std::move(handleSource);
}

} // namespace vx
