#include "gl_loader/gl_ext.h"

#include "gl_loader/gl_ext_query.h"

#include <GL/gl.h>

namespace {

const char* driver_string(GLenum which) { return reinterpret_cast<const char*>(glGetString(which)); }

const char* driver_version() { return driver_string(GL_VERSION); }
const char* driver_extensions() { return driver_string(GL_EXTENSIONS); }

// The driver's answers; its version list lives until the process ends.
gl_ext::query_t g_query(driver_version, driver_extensions);

}  // namespace

int gl_ext_supported(const char* name) { return g_query.supported(name); }

void gl_ext_init() {
    for (const gl_ext::row_t& row : gl_ext::rows) {
        if (gl_ext_supported(row.name)) row.load();
    }
}
