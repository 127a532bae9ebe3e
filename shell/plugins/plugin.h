/*
 * The contract between Vellumix and its plug-ins. A plug-in is a shared
 * library with the extension ".plg" in the "plugins" folder beside the
 * program; "Load Plugins" in the "Plug-ins" menu loads every such file. This
 * header is plain C: build a plug-in with any compiler that can make a shared
 * library, for example
 *
 *     cc -shared -fPIC -o hello.plg hello.c
 *
 * Loading one library:
 *   1. The program loads the library. A file that is no library fails with
 *      "Error loading Plug-in "<path>"" and the loader's reason.
 *   2. It calls the library's exported RegisterPlugin. A library without it
 *      fails with ""<path>" is not a valid Plug-in". When RegisterPlugin
 *      returns NULL the library is unloaded and nothing more happens. An
 *      object that cannot be read, offers more than 256 commands, holds a
 *      string that cannot be read or is longer than 1024 characters, a
 *      picture that cannot be read, or a function outside every loaded
 *      library fails with ""<path>" is not a valid Plug-in: <why>."; its
 *      destroy is not called.
 *   3. When as many plug-ins with the same plugin_name are loaded as the new
 *      one's instances allows, the new one is destroyed and its library
 *      unloaded (instances 0: the plug-in never loads).
 *   4. It calls initialize. When that returns 0, the plug-in is destroyed, its
 *      library unloaded, and loading fails with ""<path>" failed initialization.".
 *   5. Each command of the plug-in, in array order, becomes an item at the
 *      top of the "Plug-ins" menu, so the last command stands first.
 *
 * When the plug-in is unloaded, its menu items are removed first; then
 * destroy is called, then the library is unloaded. When the program ends,
 * destroy is called and the library stays loaded until the process ends.
 *
 * Every call comes from the program's user-interface thread. The program reads
 * the structures during the calls and until destroy; they must stay valid and
 * unchanged that long. Strings are UTF-8 text ending in a zero byte; one that
 * is not well-formed UTF-8 is read as Windows-1252, the text of plug-ins
 * written for earlier versions. A NULL string reads as "".
 */
#ifndef VELLUMIX_PLUGIN_H
#define VELLUMIX_PLUGIN_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The program's plug-in manager, opaque to the plug-in. */
typedef struct vx_plugin_manager vx_plugin_manager;

/* A picture of a command: width * height pixels, rows top to bottom, each
   pixel 0xAARRGGBB. A picture larger than 256 x 256 is ignored. */
typedef struct vx_plugin_bitmap {
    int32_t width;
    int32_t height;
    const uint32_t* pixels;
} vx_plugin_bitmap;

struct vx_plugin;

/* One command the plug-in offers. */
typedef struct vx_plugin_command {
    const char* caption; /* the menu item's text */
    const char* hint;    /* shown on the status line and as the tool tip */
    /* The command's data; the menu reads it as the item's shortcut in the
       portable form ("Ctrl+Shift+U"), "" or NULL for none. */
    const char* data;
    const vx_plugin_bitmap* bitmap; /* NULL for none */
    /* Runs when the user chooses the command; NULL: the item does nothing. */
    void (*execute)(struct vx_plugin* self, const struct vx_plugin_command* command);
} vx_plugin_command;

/* The plug-in object RegisterPlugin returns. */
typedef struct vx_plugin {
    /* Names this object, as a component name ("HelloPlugin1"); the program
       lists the loaded plug-ins by it. */
    const char* name;
    /* Plug-ins with equal plugin_name (compared exactly) count as instances
       of one plug-in. */
    const char* plugin_name;
    /* How many instances may be loaded at once. */
    int32_t instances;
    /* Called once after loading, with the manager, the program's application
       object (the QApplication, for a plug-in built against the same Qt; a
       plug-in in plain C leaves it alone) and the library's file name without
       folder. Returns nonzero on success. NULL: nothing to initialise. */
    int (*initialize)(struct vx_plugin* self, vx_plugin_manager* manager, void* application,
                      const char* file_name);
    /* A pair of arguments the program hands to every loaded plug-in at once;
       NULL: the plug-in takes none. */
    void (*receive)(struct vx_plugin* self, intptr_t first, intptr_t second);
    /* Frees the object. Called exactly once, for every object RegisterPlugin
       returned, before its library is unloaded. NULL: nothing to free. */
    void (*destroy)(struct vx_plugin* self);
    /* The commands, command_count of them; NULL when there are none. */
    const vx_plugin_command* commands;
    int32_t command_count;
} vx_plugin;

/* The one function a plug-in library exports: returns a new plug-in object
   on every call (the same library may be loaded more than once), or NULL. */
typedef vx_plugin* (*vx_register_plugin)(void);
#define VX_PLUGIN_ENTRY "RegisterPlugin"

#if defined(__GNUC__)
#define VX_PLUGIN_EXPORT __attribute__((visibility("default")))
#else
#define VX_PLUGIN_EXPORT
#endif

/* The entry point as a plug-in defines it: VX_PLUGIN_EXPORT vx_plugin* RegisterPlugin(void) { ... } */
VX_PLUGIN_EXPORT vx_plugin* RegisterPlugin(void);

#ifdef __cplusplus
}
#endif

#endif
