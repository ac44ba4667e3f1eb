/* Joystick 0 for the end-to-end tests, preloaded into the real program, as PLIB's js module uses the Linux interface:
 * open /dev/input/js0 or /dev/js0, JSIOCGAXES, JSIOCGBUTTONS, JSIOCGNAME, then non-blocking reads of struct js_event
 * (EAGAIN: nothing new; any other error: not working for good). FAKE_JS_CONTROL names a FIFO of the records (unset: no
 * joystick); FAKE_JS_AXES and FAKE_JS_BUTTONS give the counts; a record of type 0 unplugs the device (ENODEV). Other
 * paths and descriptors pass through. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <linux/joystick.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static const char name[] = "wire_gate test joystick";
static int dev_fd = -1, unplugged, axes, buttons;

static int (*real_open)(const char*, int, ...);
static ssize_t (*real_read)(int, void*, size_t);
static int (*real_ioctl)(int, unsigned long, ...);
static int (*real_close)(int);

__attribute__((constructor)) static void resolve(void) {
    real_open = (int (*)(const char*, int, ...))dlsym(RTLD_NEXT, "open");
    real_read = (ssize_t(*)(int, void*, size_t))dlsym(RTLD_NEXT, "read");
    real_ioctl = (int (*)(int, unsigned long, ...))dlsym(RTLD_NEXT, "ioctl");
    real_close = (int (*)(int))dlsym(RTLD_NEXT, "close");
}

static int fail(int error) { return errno = error, -1; }
static int count(const char* variable) { return getenv(variable) ? atoi(getenv(variable)) : 0; }

int open(const char* path, int flags, ...) {
    va_list ap;
    va_start(ap, flags);
    const mode_t mode = (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(ap, mode_t) : 0;
    va_end(ap);
    if (strcmp(path, "/dev/input/js0") && strcmp(path, "/dev/js0")) return real_open(path, flags, mode);
    if (!getenv("FAKE_JS_CONTROL")) return fail(ENOENT);
    if ((dev_fd = real_open(getenv("FAKE_JS_CONTROL"), O_RDONLY | O_NONBLOCK)) < 0) return -1;
    axes = count("FAKE_JS_AXES"), buttons = count("FAKE_JS_BUTTONS");
    return dev_fd;
}
int open64(const char* path, int flags, ...) __attribute__((alias("open")));

ssize_t read(int fd, void* buf, size_t size) {
    if (fd != dev_fd || fd < 0) return real_read(fd, buf, size);
    struct js_event e;
    if (unplugged || size < sizeof e) return fail(unplugged ? ENODEV : EINVAL);
    if (real_read(fd, &e, sizeof e) != (ssize_t)sizeof e) return fail(EAGAIN);
    if (e.type == 0) return unplugged = 1, fail(ENODEV);
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
    return fail(EINVAL); /* the axis corrections, which upstream PLIB also asks for */
}

int close(int fd) {
    if (fd == dev_fd && fd >= 0) dev_fd = -1;
    return real_close(fd);
}
