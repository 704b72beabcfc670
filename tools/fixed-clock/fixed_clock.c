/* Fixed wall clock for build tools that stamp their output with the current
 * time (the help compiler does), so that the same sources give the same
 * bytes. Loaded with LD_PRELOAD; the time is QM_FIXED_TIME, in seconds since
 * 1970-01-01 00:00:00 UTC. Without QM_FIXED_TIME nothing changes.
 *
 * The C library's clock functions are replaced directly. Programs that ask
 * the kernel themselves (a Pascal run-time does) are caught by a seccomp
 * filter that traps those system calls and answers them in the SIGSYS
 * handler. The clock stands still; monotonic clocks are left alone, so
 * anything that measures elapsed time still works.
 *
 * Built with the host's C compiler, not the project's (which may be a cross
 * compiler); see cmake/FixedClock.cmake. */
#define _GNU_SOURCE
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <signal.h>
#include <stddef.h>
#include <stdlib.h>
#include <string.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/time.h>
#include <time.h>
#include <ucontext.h>
#include <unistd.h>

#if !defined(__x86_64__)
#error "the fixed clock answers system calls with x86-64 registers"
#endif

static int active;
static time_t fixed_seconds;

static int is_wall_clock(clockid_t id) {
  return id == CLOCK_REALTIME || id == CLOCK_REALTIME_COARSE;
}

static void fill_timespec(struct timespec *ts) {
  ts->tv_sec = fixed_seconds;
  ts->tv_nsec = 0;
}

time_t time(time_t *out) {
  if (!active) return (time_t)syscall(SYS_time, out);
  if (out != NULL) *out = fixed_seconds;
  return fixed_seconds;
}

int gettimeofday(struct timeval *restrict tv, void *restrict tz) {
  if (!active) return (int)syscall(SYS_gettimeofday, tv, tz);
  struct timeval *volatile target = tv; /* callers may pass NULL despite the prototype */
  if (target != NULL) {
    target->tv_sec = fixed_seconds;
    target->tv_usec = 0;
  }
  return 0;
}

int clock_gettime(clockid_t id, struct timespec *ts) {
  if (!active || !is_wall_clock(id)) return (int)syscall(SYS_clock_gettime, id, ts);
  fill_timespec(ts);
  return 0;
}

static void on_sigsys(int sig, siginfo_t *info, void *context) {
  (void)sig;
  greg_t *reg = ((ucontext_t *)context)->uc_mcontext.gregs;
  long result = 0;
  switch (info->si_syscall) {
  case SYS_time:
    result = (long)time((time_t *)reg[REG_RDI]);
    break;
  case SYS_gettimeofday:
    result = gettimeofday((struct timeval *)reg[REG_RDI], NULL);
    break;
  case SYS_clock_gettime:
    fill_timespec((struct timespec *)reg[REG_RSI]);
    break;
  default:
    result = -38; /* -ENOSYS: the filter traps nothing else */
  }
  reg[REG_RAX] = result;
}

__attribute__((constructor)) static void install_fixed_clock(void) {
  const char *text = getenv("QM_FIXED_TIME");
  if (text == NULL || *text == '\0') return;
  fixed_seconds = (time_t)strtoll(text, NULL, 10);
  active = 1;

  struct sigaction action;
  memset(&action, 0, sizeof action);
  action.sa_sigaction = on_sigsys;
  action.sa_flags = SA_SIGINFO;
  sigemptyset(&action.sa_mask);
  if (sigaction(SIGSYS, &action, NULL) != 0) return;

  struct sock_filter filter[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, arch)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AUDIT_ARCH_X86_64, 0, 8),
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, nr)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_time, 5, 0),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_gettimeofday, 4, 0),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_clock_gettime, 0, 4),
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, args[0])),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, CLOCK_REALTIME, 1, 0),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, CLOCK_REALTIME_COARSE, 0, 1),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_TRAP),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
  };
  struct sock_fprog program = {(unsigned short)(sizeof filter / sizeof filter[0]), filter};
  /* Without the filter only the library calls are fixed; the program still
   * runs, it just may stamp the real time. */
  if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0)
    prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program);
}
