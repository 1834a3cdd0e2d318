/* A preloaded library that stops a process in the middle of writing files, so the data-safety
 * tests can check what a sudden end leaves on disk. The program under test carries no hooks.
 *
 *   KESTRIN_SHIM_AT=N          act at the Nth counted call (1-based); unset or 0: only count
 *   KESTRIN_SHIM_ACTION=       kill      SIGKILL before the call runs (the default)
 *                              killhalf  a write writes half its bytes, then SIGKILL
 *                              killafter SIGKILL right after the call
 *                              enospc    the call fails with ENOSPC (eio: with EIO)
 *   KESTRIN_SHIM_CALLS=        which calls count, comma-separated among write, pwrite, rename
 *                              (default all three; writev counts as write)
 *   KESTRIN_SHIM_UNDER=/dir    count only calls on files under this folder (default: every file
 *                              that is not a terminal, pipe or socket)
 *   KESTRIN_SHIM_REPORT=path   at exit, write the number of counted calls there
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

enum action { ACT_KILL, ACT_KILL_HALF, ACT_KILL_AFTER, ACT_ENOSPC, ACT_EIO };
enum kind { CALL_WRITE = 1, CALL_PWRITE = 2, CALL_RENAME = 4 };

static long shim_at;
static enum action shim_action = ACT_KILL;
static int shim_calls = CALL_WRITE | CALL_PWRITE | CALL_RENAME;
static char shim_under[4096];
static size_t shim_under_len;
static long shim_count;
static int shim_ready;

static ssize_t (*real_write)(int, const void *, size_t);
static ssize_t (*real_pwrite)(int, const void *, size_t, off_t);
static ssize_t (*real_pwrite64)(int, const void *, size_t, off_t);
static ssize_t (*real_writev)(int, const struct iovec *, int);
static int (*real_rename)(const char *, const char *);
static int (*real_renameat)(int, const char *, int, const char *);
static int (*real_renameat2)(int, const char *, int, const char *, unsigned int);

static void shim_init(void)
{
    if (shim_ready)
        return;
    real_write = (ssize_t (*)(int, const void *, size_t))dlsym(RTLD_NEXT, "write");
    real_pwrite = (ssize_t (*)(int, const void *, size_t, off_t))dlsym(RTLD_NEXT, "pwrite");
    real_pwrite64 = (ssize_t (*)(int, const void *, size_t, off_t))dlsym(RTLD_NEXT, "pwrite64");
    real_writev = (ssize_t (*)(int, const struct iovec *, int))dlsym(RTLD_NEXT, "writev");
    real_rename = (int (*)(const char *, const char *))dlsym(RTLD_NEXT, "rename");
    real_renameat = (int (*)(int, const char *, int, const char *))dlsym(RTLD_NEXT, "renameat");
    real_renameat2 = (int (*)(int, const char *, int, const char *, unsigned int))dlsym(RTLD_NEXT, "renameat2");

    const char *at = getenv("KESTRIN_SHIM_AT");
    shim_at = at ? strtol(at, NULL, 10) : 0;
    const char *action = getenv("KESTRIN_SHIM_ACTION");
    if (action) {
        if (strcmp(action, "killhalf") == 0)
            shim_action = ACT_KILL_HALF;
        else if (strcmp(action, "killafter") == 0)
            shim_action = ACT_KILL_AFTER;
        else if (strcmp(action, "enospc") == 0)
            shim_action = ACT_ENOSPC;
        else if (strcmp(action, "eio") == 0)
            shim_action = ACT_EIO;
    }
    const char *calls = getenv("KESTRIN_SHIM_CALLS");
    if (calls) {
        shim_calls = 0;
        if (strstr(calls, "pwrite"))
            shim_calls |= CALL_PWRITE;
        if (strstr(calls, "rename"))
            shim_calls |= CALL_RENAME;
        /* "write" alone, not only as part of "pwrite" */
        for (const char *p = calls; (p = strstr(p, "write")); p += 5) {
            if (p == calls || p[-1] == ',')
                shim_calls |= CALL_WRITE;
        }
    }
    const char *under = getenv("KESTRIN_SHIM_UNDER");
    if (under && strlen(under) < sizeof shim_under - 2) {
        strcpy(shim_under, under);
        shim_under_len = strlen(shim_under);
        if (shim_under_len > 1 && shim_under[shim_under_len - 1] == '/')
            shim_under[--shim_under_len] = '\0';
    }
    shim_ready = 1;
}

static int path_counts(const char *path)
{
    if (!path)
        return 0;
    if (shim_under_len == 0)
        return 1;
    return strncmp(path, shim_under, shim_under_len) == 0
           && (path[shim_under_len] == '/' || path[shim_under_len] == '\0');
}

static int fd_counts(int fd)
{
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return 0;
    if (shim_under_len == 0)
        return 1;
    char link[64], path[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, path, sizeof path - 1);
    if (n <= 0)
        return 0;
    path[n] = '\0';
    return path_counts(path);
}

static int at_path_counts(int dirfd, const char *path)
{
    if (!path)
        return 0;
    if (path[0] == '/' || dirfd == AT_FDCWD) {
        char full[4096];
        if (path[0] != '/') {
            if (!getcwd(full, sizeof full - 1))
                return 0;
            strncat(full, "/", sizeof full - strlen(full) - 1);
            strncat(full, path, sizeof full - strlen(full) - 1);
            return path_counts(full);
        }
        return path_counts(path);
    }
    char link[64], dir[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", dirfd);
    const ssize_t n = readlink(link, dir, sizeof dir - 1);
    if (n <= 0)
        return 0;
    dir[n] = '\0';
    strncat(dir, "/", sizeof dir - strlen(dir) - 1);
    strncat(dir, path, sizeof dir - strlen(dir) - 1);
    return path_counts(dir);
}

static void die_now(void)
{
    kill(getpid(), SIGKILL);
    _exit(137); /* not reached */
}

/* Counts a call; returns 1 when this call is the one to act on. */
static int is_target_call(void)
{
    ++shim_count;
    return shim_at > 0 && shim_count == shim_at;
}

/* What to do before the call: 0 run it, -1 fail it (errno set). Kill actions do not return. */
static int before_call(int is_write, const void *buf, size_t count, int fd)
{
    switch (shim_action) {
    case ACT_KILL:
        die_now();
        break;
    case ACT_KILL_HALF:
        if (is_write && count > 1)
            real_write(fd, buf, count / 2);
        die_now();
        break;
    case ACT_ENOSPC:
        errno = ENOSPC;
        return -1;
    case ACT_EIO:
        errno = EIO;
        return -1;
    case ACT_KILL_AFTER:
        break;
    }
    return 0;
}

ssize_t write(int fd, const void *buf, size_t count)
{
    shim_init();
    if ((shim_calls & CALL_WRITE) && fd_counts(fd) && is_target_call()) {
        if (before_call(1, buf, count, fd) < 0)
            return -1;
        const ssize_t r = real_write(fd, buf, count);
        die_now();
        return r;
    }
    return real_write(fd, buf, count);
}

ssize_t writev(int fd, const struct iovec *iov, int iovcnt)
{
    shim_init();
    if ((shim_calls & CALL_WRITE) && fd_counts(fd) && is_target_call()) {
        if (before_call(1, iovcnt > 0 ? iov[0].iov_base : NULL, iovcnt > 0 ? iov[0].iov_len : 0, fd) < 0)
            return -1;
        const ssize_t r = real_writev(fd, iov, iovcnt);
        die_now();
        return r;
    }
    return real_writev(fd, iov, iovcnt);
}

static ssize_t counted_pwrite(ssize_t (*real)(int, const void *, size_t, off_t), int fd, const void *buf,
                              size_t count, off_t offset)
{
    if ((shim_calls & CALL_PWRITE) && fd_counts(fd) && is_target_call()) {
        if (shim_action == ACT_KILL_HALF && count > 1) {
            real(fd, buf, count / 2, offset);
            die_now();
        }
        if (before_call(0, buf, count, fd) < 0)
            return -1;
        const ssize_t r = real(fd, buf, count, offset);
        die_now();
        return r;
    }
    return real(fd, buf, count, offset);
}

ssize_t pwrite(int fd, const void *buf, size_t count, off_t offset)
{
    shim_init();
    return counted_pwrite(real_pwrite, fd, buf, count, offset);
}

ssize_t pwrite64(int fd, const void *buf, size_t count, off_t offset)
{
    shim_init();
    return counted_pwrite(real_pwrite64 ? real_pwrite64 : real_pwrite, fd, buf, count, offset);
}

int rename(const char *from, const char *to)
{
    shim_init();
    if ((shim_calls & CALL_RENAME) && (path_counts(from) || path_counts(to)) && is_target_call()) {
        if (before_call(0, NULL, 0, -1) < 0)
            return -1;
        const int r = real_rename(from, to);
        die_now();
        return r;
    }
    return real_rename(from, to);
}

int renameat(int fromfd, const char *from, int tofd, const char *to)
{
    shim_init();
    if ((shim_calls & CALL_RENAME) && (at_path_counts(fromfd, from) || at_path_counts(tofd, to)) && is_target_call()) {
        if (before_call(0, NULL, 0, -1) < 0)
            return -1;
        const int r = real_renameat(fromfd, from, tofd, to);
        die_now();
        return r;
    }
    return real_renameat(fromfd, from, tofd, to);
}

int renameat2(int fromfd, const char *from, int tofd, const char *to, unsigned int flags)
{
    shim_init();
    if ((shim_calls & CALL_RENAME) && (at_path_counts(fromfd, from) || at_path_counts(tofd, to)) && is_target_call()) {
        if (before_call(0, NULL, 0, -1) < 0)
            return -1;
        const int r = real_renameat2(fromfd, from, tofd, to, flags);
        die_now();
        return r;
    }
    return real_renameat2(fromfd, from, tofd, to, flags);
}

__attribute__((destructor)) static void shim_report(void)
{
    const char *report = getenv("KESTRIN_SHIM_REPORT");
    if (!report)
        return;
    FILE *f = fopen(report, "w");
    if (f) {
        fprintf(f, "%ld\n", shim_count);
        fclose(f);
    }
}
