/* A test plug-in that hands over what the host must not trust: with
   VXTEST_GARBAGE an object at an address that cannot be read, with
   VXTEST_MANY a hundred million commands, with VXTEST_BAD_TEXT a caption at
   an address that cannot be read, with VXTEST_LONG_TEXT a caption longer than
   any menu item. */
#include "shell/plugins/plugin.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

/* Low addresses are never mapped. */
#define UNREADABLE ((const void*)(uintptr_t)0x18)

static char long_caption[5000];
static vx_plugin_command command = {"Hostile", NULL, NULL, NULL, NULL};

VX_PLUGIN_EXPORT vx_plugin* RegisterPlugin(void)
{
#ifdef VXTEST_GARBAGE
    return (vx_plugin*)UNREADABLE;
#else
    static vx_plugin plugin;
    plugin.name = "HostilePlugin1";
    plugin.plugin_name = "Hostile";
    plugin.instances = 1;
    plugin.commands = &command;
    plugin.command_count = 1;
#ifdef VXTEST_MANY
    plugin.command_count = 100000000;
#endif
#ifdef VXTEST_BAD_TEXT
    command.caption = (const char*)UNREADABLE;
#endif
#ifdef VXTEST_LONG_TEXT
    memset(long_caption, 'x', sizeof long_caption - 1);
    command.caption = long_caption;
#endif
    return &plugin;
#endif
}
