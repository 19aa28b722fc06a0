// Linked into the sanitizer build of the game only. Mesa's drivers are unloaded when the last
// GL window closes, so the few bytes they keep for the process's lifetime would show in the leak
// checker's report as coming from an "unknown module", and could not be told apart from leaks of
// the game. Kept mapped, they are named, and tools/lsan-suppressions.txt lets them pass.

#include <dlfcn.h>

namespace {

struct KeepDisplayDriversMapped {
    KeepDisplayDriversMapped()
    {
        const char* drivers[] = {"libEGL_mesa.so.0", "libGLX_mesa.so.0", "libglapi.so.0",
                                 "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so",
                                 "/usr/lib/x86_64-linux-gnu/dri/kms_swrast_dri.so"};
        for (const char* driver : drivers)
            dlopen(driver, RTLD_NOW | RTLD_NODELETE);  // a driver that is not there is no matter
    }
};

const KeepDisplayDriversMapped keepDisplayDriversMapped;

}  // namespace
