// Starts a program and reports how long it took to say it had painted its first window, and its
// peak memory. A process's peak memory (ru_maxrss) carries over the memory of the process it was
// forked from, so the program is started from this small one rather than from the benchmarks.
//
//   chokusho_launch PROGRAM [ARGUMENTS...]
//   prints "NANOSECONDS PEAK_KIB": the time from the start to the program's first line on its
//   standard output, and the child's ru_maxrss; exits 1 when the program failed.

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

extern char** environ;

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    int out[2];
    if (::pipe(out) != 0)
        return 1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);

    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, argv[1], &actions, nullptr, argv + 1, environ) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    ::close(out[1]);
    bool said = false;
    char byte = 0;
    while (!said && ::read(out[0], &byte, 1) == 1)
        said = byte == '\n';
    const auto painted = std::chrono::steady_clock::now();
    while (::read(out[0], &byte, 1) == 1) {
    }
    ::close(out[0]);

    int status = 0;
    rusage usage{};
    if (::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || !said)
        return 1;
    const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(painted - start).count();
    std::printf("%lld %ld\n", static_cast<long long>(nanoseconds), usage.ru_maxrss);
    return 0;
}
