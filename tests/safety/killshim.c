/* Preloaded into the safety worker: at the KESTRIN_SHIM_AT-th write or rename of a file under the
 * folder KESTRIN_SHIM_UNDER, does KESTRIN_SHIM_ACTION: kill (before the call), killhalf (a write
 * writes half, then dies), killafter, or enospc / eio (the call fails). The program has no hooks. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static long count;

static const char *env(const char *name)
{
    const char *v = getenv(name);
    return v ? v : "";
}

/* The action when this call on path is the one to act on, else NULL. */
static const char *action_for(const char *path)
{
    const char *dir = env("KESTRIN_SHIM_UNDER");
    const size_t n = strlen(dir);
    if (!n || strncmp(path, dir, n) != 0 || path[n] != '/')
        return NULL;
    return ++count == atol(env("KESTRIN_SHIM_AT")) ? env("KESTRIN_SHIM_ACTION") : NULL;
}

/* -1 (errno set): fail the call; 0: run it, then die. The kill actions die here, before it. */
static int act(const char *action)
{
    if (!strcmp(action, "enospc") || !strcmp(action, "eio")) {
        errno = action[1] == 'n' ? ENOSPC : EIO;
        return -1;
    }
    if (strcmp(action, "killafter"))
        kill(getpid(), SIGKILL);
    return 0;
}

ssize_t write(int fd, const void *buf, size_t n)
{
    static ssize_t (*real)(int, const void *, size_t);
    if (!real)
        real = (ssize_t (*)(int, const void *, size_t))dlsym(RTLD_NEXT, "write");
    char link[64], path[4096] = "";
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    (void)!readlink(link, path, sizeof path - 1);
    const char *action = action_for(path);
    if (!action)
        return real(fd, buf, n);
    if (!strcmp(action, "killhalf") && n > 1)
        (void)!real(fd, buf, n / 2);
    if (act(action) < 0)
        return -1;
    (void)!real(fd, buf, n);
    kill(getpid(), SIGKILL);
    return -1;
}

int rename(const char *from, const char *to)
{
    static int (*real)(const char *, const char *);
    if (!real)
        real = (int (*)(const char *, const char *))dlsym(RTLD_NEXT, "rename");
    const char *action = action_for(to);
    if (!action)
        return real(from, to);
    if (act(action) < 0)
        return -1;
    real(from, to);
    kill(getpid(), SIGKILL);
    return -1;
}
