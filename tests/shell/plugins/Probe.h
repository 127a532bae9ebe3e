/* What the test plug-ins record for the tests to read: each library exports
   vxtest_probe_of, and the tests find it in the library the manager loaded. */
#ifndef VXTEST_PROBE_H
#define VXTEST_PROBE_H

#include <stdint.h>

typedef struct vxtest_probe {
    int objects; /* made by RegisterPlugin and not yet destroyed */
    char init_file[64];
    void* application;
    void* manager;
    char executed[64]; /* the captions of the commands run, each followed by ';' */
    intptr_t received[2];
} vxtest_probe;

#define VXTEST_PROBE_ENTRY "vxtest_probe_of"
typedef vxtest_probe* (*vxtest_probe_of_fn)(void);

#endif
