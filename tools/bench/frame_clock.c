/* frame_clock: preloaded into the real game by anim_timing.sh. It wraps the library's rest,
 * blit and text_mode and the C library's nanosleep to time the banner animations, which alone
 * switch the text mode to -1 and back. Inside an animation it notes each pause (a rest, or a
 * sleep of the animating thread) and each copy to the screen; when the animation ends it
 * appends the record to the file named by REBRIK_FRAME_LOG in one write, so no file work falls
 * inside a frame. Outside animations it only forwards the calls, and notes when the first frame
 * reached the screen. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

extern void *screen; /* the library's display bitmap */

static char record[1 << 26]; /* the final screen's waits spin through many cheap frames */
static size_t used;
static int in_animation, in_rest;
static pthread_t animating; /* the thread that switched the text mode to -1 */

static double now_us(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

/* One event: a letter, a number and a time in microseconds. */
static void note(char what, long value, double t) {
    if (used + 64 < sizeof record)
        used += (size_t)snprintf(record + used, 64, "%c %ld %.1f\n", what, value, t);
}

static void *next(const char *name) {
    void *f = dlsym(RTLD_NEXT, name);
    if (!f)
        abort();
    return f;
}

static void flush_record(void) {
    const char *path = getenv("REBRIK_FRAME_LOG");
    int fd = path ? open(path, O_WRONLY | O_CREAT | O_APPEND, 0644) : -1;
    if (fd >= 0) {
        if (write(fd, record, used) < 0) {
            /* nothing to do: the script reports a missing record */
        }
        close(fd);
    }
    used = 0;
}

/* T -1 opens an animation, T with any other mode closes it. */
int text_mode(int mode) {
    static int (*real)(int);
    if (!real)
        real = (int (*)(int))next("text_mode");
    if (mode == -1) {
        in_animation = 1;
        animating = pthread_self();
        used = 0;
        note('T', mode, now_us());
        return real(mode);
    }
    int result = real(mode);
    if (in_animation) {
        note('T', mode, now_us());
        in_animation = 0;
        flush_record();
    }
    return result;
}

/* P ms start, then E ms end of each pause. */
void rest(unsigned int ms) {
    static void (*real)(unsigned int);
    if (!real)
        real = (void (*)(unsigned int))next("rest");
    if (!in_animation) {
        real(ms);
        return;
    }
    note('P', (long)ms, now_us());
    in_rest = 1;
    real(ms);
    in_rest = 0;
    note('E', (long)ms, now_us());
}

/* P 0 start, then E 0 end of each sleep of the animating thread outside rest. */
int nanosleep(const struct timespec *wanted, struct timespec *left) {
    static int (*real)(const struct timespec *, struct timespec *);
    if (!real)
        real = (int (*)(const struct timespec *, struct timespec *))next("nanosleep");
    if (!in_animation || in_rest || !pthread_equal(pthread_self(), animating))
        return real(wanted, left);
    note('P', 0, now_us());
    int result = real(wanted, left);
    note('E', 0, now_us());
    return result;
}

void note_first_frame(void);

/* S and B around each copy of a frame to the screen. */
void blit(void *src, void *dst, int sx, int sy, int dx, int dy, int w, int h) {
    static void (*real)(void *, void *, int, int, int, int, int, int);
    if (!real)
        real = (void (*)(void *, void *, int, int, int, int, int, int))next("blit");
    if (!in_animation || dst != screen) {
        real(src, dst, sx, sy, dx, dy, w, h);
        if (dst == screen)
            note_first_frame();
        return;
    }
    note('S', (long)w * h, now_us());
    real(src, dst, sx, sy, dx, dy, w, h);
    note('B', (long)w * h, now_us());
}

/* F and the wall-clock time in microseconds, once, when the first frame has reached the
 * screen: the script compares it with the moment it started the game. */
void note_first_frame(void) {
    static int done;
    if (done)
        return;
    done = 1;
    struct timespec t;
    clock_gettime(CLOCK_REALTIME, &t);
    char line[64];
    int n = snprintf(line, sizeof line, "F %.0f\n", t.tv_sec * 1e6 + t.tv_nsec / 1e3);
    const char *path = getenv("REBRIK_FRAME_LOG");
    int fd = path ? open(path, O_WRONLY | O_CREAT | O_APPEND, 0644) : -1;
    if (fd >= 0) {
        if (write(fd, line, (size_t)n) < 0) {
            /* nothing to do: the script reports a missing time */
        }
        close(fd);
    }
}
