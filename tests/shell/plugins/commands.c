/* A test plug-in with three commands. VXTEST_NAME and VXTEST_INSTANCES make
   variants of it, VXTEST_ACCENTS one whose texts go beyond ASCII, in UTF-8 and
   in Windows-1252 as plug-ins for earlier versions wrote them; initialisation
   fails for a file whose name starts "fail". */
#include "shell/plugins/plugin.h"
#include "tests/shell/plugins/Probe.h"

#include <stdlib.h>
#include <string.h>

#ifndef VXTEST_NAME
#define VXTEST_NAME "Commands"
#endif
#ifndef VXTEST_INSTANCES
#define VXTEST_INSTANCES 1
#endif

static vxtest_probe probe;

VX_PLUGIN_EXPORT vxtest_probe* vxtest_probe_of(void)
{
    return &probe;
}

static void Execute(vx_plugin* self, const vx_plugin_command* command)
{
    (void)self;
    if (strlen(probe.executed) + strlen(command->caption) + 2 > sizeof probe.executed)
        return;
    strcat(probe.executed, command->caption);
    strcat(probe.executed, ";");
}

static int Initialize(vx_plugin* self, vx_plugin_manager* manager, void* application, const char* file_name)
{
    (void)self;
    strncpy(probe.init_file, file_name, sizeof probe.init_file - 1);
    probe.manager = manager;
    probe.application = application;
    return strncmp(file_name, "fail", 4) != 0;
}

static void Receive(vx_plugin* self, intptr_t first, intptr_t second)
{
    (void)self;
    probe.received[0] += first;
    probe.received[1] += second;
}

static void Destroy(vx_plugin* self)
{
    --probe.objects;
    free(self);
}

static const uint32_t pixels[4] = {0xff0000ffu, 0xff00ff00u, 0xffff0000u, 0xffffffffu};
static const vx_plugin_bitmap picture = {2, 2, pixels};
#ifdef VXTEST_ACCENTS
#define VXTEST_ONE "Caf\xE9 One"
#define VXTEST_ONE_HINT "\x80 5"
#define VXTEST_TWO "Caf\xC3\xA9 Two"
#define VXTEST_TWO_HINT "\xE2\x82\xAC 5 \xE4\xBD\xA0"
#else
#define VXTEST_ONE VXTEST_NAME " One"
#define VXTEST_ONE_HINT "first command"
#define VXTEST_TWO VXTEST_NAME " Two"
#define VXTEST_TWO_HINT "second command"
#endif
static const vx_plugin_command commands[] = {
    {VXTEST_ONE, VXTEST_ONE_HINT, "Ctrl+Shift+1", NULL, Execute},
    {VXTEST_TWO, VXTEST_TWO_HINT, "", &picture, Execute},
    {VXTEST_NAME " Three", NULL, NULL, NULL, Execute},
};

VX_PLUGIN_EXPORT vx_plugin* RegisterPlugin(void)
{
    vx_plugin* plugin = calloc(1, sizeof *plugin);
    if (!plugin)
        return NULL;
    plugin->name = VXTEST_NAME "Plugin1";
    plugin->plugin_name = VXTEST_NAME;
    plugin->instances = VXTEST_INSTANCES;
    plugin->initialize = Initialize;
    plugin->receive = Receive;
    plugin->destroy = Destroy;
    plugin->commands = commands;
    plugin->command_count = 3;
    ++probe.objects;
    return plugin;
}
