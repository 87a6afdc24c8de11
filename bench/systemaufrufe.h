#pragma once
// Counts the system calls a piece of work makes, without strace: the work runs in a forked child
// that this process traces, and every call the child enters is counted (its final exit not).
// The child works on a copy of the parent's state and shares its open files; a window system
// connection would be shared too, so counting is only done on Qt's offscreen platform.
#include <QGuiApplication>
#include <QThreadPool>
#include <benchmark/benchmark.h>

#include <csignal>
#include <sys/ptrace.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

struct Systemaufrufe {
  double gesamt = 0;  // every call
  double syncs = 0;   // fsync, fdatasync, sync_file_range, syncfs, sync
  double mkdirs = 0;  // mkdir, mkdirat
};

inline bool SystemaufrufeZaehlbar() {
  return QGuiApplication::platformName() == QLatin1String("offscreen");
}

// Runs arbeit() mal times in a traced child; the counts are per run. All zero when the work
// cannot be traced.
template <typename Arbeit>
Systemaufrufe SystemaufrufeZaehlen(Arbeit arbeit, int mal = 1) {
  Systemaufrufe z;
  if (!SystemaufrufeZaehlbar()) return z;
  // Qt scales and converts images on its pool's threads; a forked child has none of them and
  // would wait for them forever. Joined here, the child starts threads of its own.
  QThreadPool::globalInstance()->waitForDone();
  const pid_t kind = ::fork();
  if (kind < 0) return z;
  if (kind == 0) {
    ::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
    ::raise(SIGSTOP);
    for (int i = 0; i < mal; ++i) arbeit();
    ::_exit(0);
  }
  int status = 0;
  if (::waitpid(kind, &status, __WALL) != kind || !WIFSTOPPED(status)) return z;
  ::ptrace(PTRACE_SETOPTIONS, kind, nullptr,
           reinterpret_cast<void*>(PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL | PTRACE_O_TRACECLONE));
  ::ptrace(PTRACE_SYSCALL, kind, nullptr, nullptr);
  long gesamt = 0, syncs = 0, mkdirs = 0;
  for (;;) {
    const pid_t t = ::waitpid(-1, &status, __WALL);
    if (t < 0) break;
    if (WIFEXITED(status) || WIFSIGNALED(status)) {
      if (t == kind) break;
      continue;
    }
    int signal = 0;
    const int stopp = WSTOPSIG(status);
    if (stopp == (SIGTRAP | 0x80)) {
      __ptrace_syscall_info info{};
      if (::ptrace(PTRACE_GET_SYSCALL_INFO, t, reinterpret_cast<void*>(sizeof info), &info) > 0 &&
          info.op == PTRACE_SYSCALL_INFO_ENTRY) {
        const auto nr = long(info.entry.nr);
        if (nr != SYS_exit_group && nr != SYS_exit) ++gesamt;
        if (nr == SYS_fsync || nr == SYS_fdatasync || nr == SYS_sync_file_range || nr == SYS_syncfs ||
            nr == SYS_sync)
          ++syncs;
#ifdef SYS_mkdir
        if (nr == SYS_mkdir) ++mkdirs;
#endif
        if (nr == SYS_mkdirat) ++mkdirs;
      }
    } else if (stopp != SIGTRAP && stopp != SIGSTOP) {
      signal = stopp;  // the child's own signals go through; the tracer's stops do not
    }
    ::ptrace(PTRACE_SYSCALL, t, nullptr, reinterpret_cast<void*>(long(signal)));
  }
  z.gesamt = double(gesamt) / mal;
  z.syncs = double(syncs) / mal;
  z.mkdirs = double(mkdirs) / mal;
  return z;
}

// The counts as the benchmark's counters (left out where they could not be taken).
inline void SystemaufrufeMelden(benchmark::State& state, const Systemaufrufe& z, bool mitGesamt = true) {
  if (!SystemaufrufeZaehlbar()) return;
  if (mitGesamt) state.counters["Aufrufe"] = z.gesamt;
  state.counters["Syncs"] = z.syncs;
  state.counters["mkdir"] = z.mkdirs;
}
