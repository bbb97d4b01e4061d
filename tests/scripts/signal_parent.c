// Starts a program with the signal ignored or not, sends it that signal a moment after its
// handlers are in, and prints how it ended as its wait status tells: "signalled N" or
// "exited N", after "played on, " when it outlived the signal by 4 s (SIGTERM then).
// Usage: signal_parent SIGNAL IGNORE DELAY_MS PROGRAM [ARGS...]
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

// 1 once the game's own handlers are in: SIGHUP caught (the library catches SIGTERM and SIGINT
// before the game does, and SIGHUP never), or SIGHUP ignored from the start and SIGTERM caught.
static int handlers_in(pid_t pid) {
    char path[64], line[256];
    unsigned long long caught = 0, ignored = 0, hup = 1 << (SIGHUP - 1), term = 1 << (SIGTERM - 1);
    snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    FILE *f = fopen(path, "r");
    while (f && fgets(line, sizeof line, f))
        sscanf(line, "SigCgt: %llx", &caught), sscanf(line, "SigIgn: %llx", &ignored);
    if (f)
        fclose(f);
    return (caught & hup) || ((ignored & hup) && (caught & term));
}

// Waits up to tenths / 10 s for the program to end: its wait status, or -1 if it still runs.
static int ended(pid_t pid, int tenths) {
    int status, i = 0;
    while (waitpid(pid, &status, WNOHANG) != pid)
        if (i++ == tenths || usleep(100000))
            return -1;
    return status;
}

int main(int argc, char *argv[]) {
    if (argc < 5)
        return 2;
    pid_t pid = fork();
    if (pid == 0) {
        signal(atoi(argv[1]), atoi(argv[2]) ? SIG_IGN : SIG_DFL);
        dup2(open("/dev/null", O_WRONLY), STDOUT_FILENO), dup2(STDOUT_FILENO, STDERR_FILENO);
        execv(argv[4], argv + 4);
        _exit(127);
    }
    for (int i = 0; i < 100 && !handlers_in(pid); i++)
        usleep(50000);
    usleep(atoi(argv[3]) * 1000);
    kill(pid, atoi(argv[1]));
    int status = ended(pid, 40);
    if (status == -1)
        printf("played on, "), kill(pid, SIGTERM), status = ended(pid, 50);
    if (status == -1)
        return kill(pid, SIGKILL), printf("hung\n"), 1;
    printf("%s %d\n", WIFSIGNALED(status) ? "signalled" : "exited",
           WIFSIGNALED(status) ? WTERMSIG(status) : WEXITSTATUS(status));
    return 0;
}
