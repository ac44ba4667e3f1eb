/* Joystick 0 for the end-to-end tests, preloaded into the real program
 * (LD_PRELOAD) so that PLIB's js module finds it as the Linux joystick
 * interface presents one.
 *
 * What Debian's PLIB does with it: access("/dev/input/js0", F_OK), falling
 * back to /dev/js0 when that fails; open(path, O_RDONLY); ioctls JSIOCGAXES,
 * JSIOCGBUTTONS (one byte each) and JSIOCGNAME(128); fcntl F_SETFL
 * O_NONBLOCK; then on every poll read(fd, 8 bytes) of struct js_event until
 * a read fails: EAGAIN means nothing new, any other error marks the joystick
 * not working for good (reads as all zeros from then on). Upstream PLIB
 * also rewrites the axis corrections (JSIOCGCORR, JSIOCSCORR): refused here
 * with EINVAL, which it ignores. The descriptor is the FIFO's own, so fcntl
 * and close act on a real file.
 *
 * Environment: FAKE_JS_CONTROL names a FIFO the test writes to (unset: no
 * joystick at all, both paths answer ENOENT); FAKE_JS_AXES and
 * FAKE_JS_BUTTONS give the counts the device reports.
 * Protocol: 4-byte records in native byte order, {uint8 type, uint8 number,
 * int16 value}. Type JS_EVENT_AXIS (2) or JS_EVENT_BUTTON (1) sets that axis
 * or button; type 0 unplugs the device (reads and ioctls then fail with
 * ENODEV, as after a removal, and the paths vanish). Records written before
 * the program opens the device set the state that the JS_EVENT_INIT records
 * of the first reads report, buttons first, as the kernel sends them; every
 * later record comes out as one event. Nothing pending reads as EAGAIN.
 * Every other path and descriptor passes through untouched. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <linux/joystick.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

struct record {
    uint8_t type, number;
    int16_t value;
};

static const char name[] = "wire_gate test joystick";
static int dev_fd = -1, unplugged, axes, buttons, init_sent;
static int16_t state[2][256]; /* [0] buttons, [1] axes */

static int (*real_access)(const char*, int);
static int (*real_open)(const char*, int, ...);
static ssize_t (*real_read)(int, void*, size_t);
static int (*real_ioctl)(int, unsigned long, ...);
static int (*real_close)(int);

__attribute__((constructor)) static void resolve(void) {
    real_access = (int (*)(const char*, int))dlsym(RTLD_NEXT, "access");
    real_open = (int (*)(const char*, int, ...))dlsym(RTLD_NEXT, "open");
    real_read = (ssize_t(*)(int, void*, size_t))dlsym(RTLD_NEXT, "read");
    real_ioctl = (int (*)(int, unsigned long, ...))dlsym(RTLD_NEXT, "ioctl");
    real_close = (int (*)(int))dlsym(RTLD_NEXT, "close");
}

static int ours(const char* path) { return path && (!strcmp(path, "/dev/input/js0") || !strcmp(path, "/dev/js0")); }
static int present(void) { return getenv("FAKE_JS_CONTROL") && !unplugged; }
static int fail(int error) { return errno = error, -1; }
static int count(const char* variable) { return getenv(variable) ? atoi(getenv(variable)) : 0; }

/* The next record from the FIFO, applied to the state; 0 when none waits. */
static int take(struct record* r) {
    if (real_read(dev_fd, r, sizeof *r) != (ssize_t)sizeof *r) return 0;
    if (r->type == 0) unplugged = 1;
    if (r->type == JS_EVENT_BUTTON || r->type == JS_EVENT_AXIS) state[r->type - 1][r->number] = r->value;
    return 1;
}

int access(const char* path, int mode) {
    if (!ours(path)) return real_access(path, mode);
    return present() ? 0 : fail(ENOENT);
}

int open(const char* path, int flags, ...) {
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(ap, mode_t) : 0;
    va_end(ap);
    if (!ours(path)) return real_open(path, flags, mode);
    if (!present()) return fail(ENOENT);
    if ((dev_fd = real_open(getenv("FAKE_JS_CONTROL"), O_RDONLY | O_NONBLOCK)) < 0) return -1;
    axes = count("FAKE_JS_AXES"), buttons = count("FAKE_JS_BUTTONS"), init_sent = 0;
    struct record r;
    while (take(&r)) continue;
    return dev_fd;
}
int open64(const char* path, int flags, ...) __attribute__((alias("open")));

ssize_t read(int fd, void* buf, size_t size) {
    if (fd != dev_fd || fd < 0) return real_read(fd, buf, size);
    if (unplugged) return fail(ENODEV);
    if (size < sizeof(struct js_event)) return fail(EINVAL);
    struct record r = {0, 0, 0};
    if (init_sent < buttons + axes) {
        const int axis = init_sent >= buttons;
        r.type = (axis ? JS_EVENT_AXIS : JS_EVENT_BUTTON) | JS_EVENT_INIT;
        r.number = axis ? init_sent - buttons : init_sent;
        r.value = state[axis][r.number];
        ++init_sent;
    } else if (!take(&r)) {
        return fail(EAGAIN);
    }
    if (unplugged) return fail(ENODEV);
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const struct js_event e = {(uint32_t)(now.tv_sec * 1000 + now.tv_nsec / 1000000), r.value, r.type, r.number};
    memcpy(buf, &e, sizeof e);
    return sizeof e;
}

int ioctl(int fd, unsigned long request, ...) {
    va_list ap;
    va_start(ap, request);
    void* arg = va_arg(ap, void*);
    va_end(ap);
    if (fd != dev_fd || fd < 0) return real_ioctl(fd, request, arg);
    if (unplugged) return fail(ENODEV);
    if (request == JSIOCGAXES) return *(uint8_t*)arg = axes, 0;
    if (request == JSIOCGBUTTONS) return *(uint8_t*)arg = buttons, 0;
    if ((request & ~(unsigned long)IOCSIZE_MASK) == JSIOCGNAME(0)) {
        const size_t room = _IOC_SIZE(request), length = sizeof name < room ? sizeof name : room;
        return memcpy(arg, name, length), (int)length;
    }
    return fail(EINVAL);
}

int close(int fd) {
    if (fd == dev_fd && fd >= 0) dev_fd = -1;
    return real_close(fd);
}
