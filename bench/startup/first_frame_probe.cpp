// first_frame_probe PROGRAM [ARGS...]: starts PROGRAM, waits for its "first-frame" line and for
// it to end, and prints "<wall µs> <cpu µs> <peak RSS KiB>": wall time from just before the
// start to the reported first frame, CPU time the program had used by then, and the peak
// resident memory of the finished process as the kernel accounted it (wait4). Exits non-zero
// when the program reported no frame or failed.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: first_frame_probe PROGRAM [ARGS...]\n");
        return 2;
    }
    int out[2];
    if (pipe(out) != 0) {
        std::perror("first_frame_probe: pipe");
        return 2;
    }
    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    pid_t child = fork();
    if (child < 0) {
        std::perror("first_frame_probe: fork");
        return 2;
    }
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execvp(argv[1], argv + 1);
        std::fprintf(stderr, "first_frame_probe: cannot start %s: %s\n", argv[1],
                     std::strerror(errno));
        _exit(127);
    }
    close(out[1]);
    // Everything the program prints, for the one line that matters.
    std::string text;
    char chunk[4096];
    for (ssize_t n; (n = read(out[0], chunk, sizeof chunk)) != 0;) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) break;
        text.append(chunk, static_cast<size_t>(n));
    }
    close(out[0]);
    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    long long frameNs = -1, cpuMicros = -1;
    if (size_t at = text.find("first-frame "); at != std::string::npos)
        std::sscanf(text.c_str() + at, "first-frame %lld %lld", &frameNs, &cpuMicros);
    if (frameNs < 0 || cpuMicros < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "first_frame_probe: %s reported no first frame (status %d)\n", argv[1],
                     status);
        return 1;
    }
    const long long startNs = start.tv_sec * 1000000000LL + start.tv_nsec;
    std::printf("%lld %lld %ld\n", (frameNs - startNs) / 1000, cpuMicros, usage.ru_maxrss);
    return 0;
}
