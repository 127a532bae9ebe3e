// Fuzz target: an animated cursor parsed, its frames drawn to a strip, handed to
// an icon list whose stored form reads back the same, and made into GIF frames.
// Only EReadError may escape the reader.
#include "fuzz/FuzzCheck.h"
#include "images/AnimatedCursorImage.h"
#include "images/IconList.h"
#include "images/RxGIF.h"
#include "platform/Exception.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TAnimatedCursorImage cursor;
    try {
        cursor.LoadFromData(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const EReadError&) {
        return 0;
    }
    VX_FUZZ_CHECK(size == 0 || cursor.Count() > 0);
    for (int i = 0; i < cursor.Count(); ++i)
        VX_FUZZ_CHECK(!cursor.Frame(i).Icon.Empty());
    const TGIFBitmap strip = cursor.DrawFramesToBitmap(0xFFFFFF, size % 2 == 1, false);
    VX_FUZZ_CHECK(cursor.Count() == 0 || !strip.Empty());

    TIconList list;
    cursor.AssignTo(list);
    TIconList back;
    back.ReadData(list.WriteData());
    VX_FUZZ_CHECK(back.Count() == list.Count());
    for (int i = 0; i < list.Count(); ++i)
        VX_FUZZ_CHECK(back.Get(i).Data() == list.Get(i).Data());

    RxGIF::TGIFImage gif;
    gif.Assign(cursor);
    VX_FUZZ_CHECK(gif.Count() == cursor.Count());
    return 0;
}
