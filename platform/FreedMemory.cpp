#include "platform/FreedMemory.h"

#include <malloc.h>

namespace vx {

void ReturnFreedPages()
{
    malloc_trim(0);
}

} // namespace vx
