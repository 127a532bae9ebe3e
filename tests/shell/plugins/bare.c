/* A test library that is no plug-in: without VXTEST_NO_OBJECT it lacks the
   entry point; with it, the entry point returns no object. */
#include "shell/plugins/plugin.h"

#include <stddef.h>

#ifdef VXTEST_NO_OBJECT
VX_PLUGIN_EXPORT vx_plugin* RegisterPlugin(void)
{
    return NULL;
}
#else
VX_PLUGIN_EXPORT int vxtest_bare(void)
{
    return 1;
}
#endif
