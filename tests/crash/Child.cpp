// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/crash/Child.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <stdexcept>

#include "engine/core/TestHooks.h"
#include "tests/crash/Settings.h"

namespace crash {
namespace {

using Clock = std::chrono::steady_clock;

// Far beyond any run of the test; only a hung child ever meets it.
constexpr std::chrono::seconds kHangLimit{600};

[[noreturn]] void beTheChild(int reportFd, const std::function<void()>& work) {
    int code = 0;
    std::string message;
    try {
        engine::core::setScryptCostForTesting(static_cast<std::uint8_t>(settings().scryptLog2N));
        work();
    } catch (const std::exception& error) {
        code = 1;
        message = error.what();
    } catch (...) {
        code = 1;
        message = "an exception that is not a std::exception";
    }
    for (std::size_t done = 0; done < message.size();) {
        const ssize_t put = ::write(reportFd, message.data() + done, message.size() - done);
        if (put <= 0) break;
        done += static_cast<std::size_t>(put);
    }
    // _exit: neither the test framework's exit handlers nor the parent's destructors may run here.
    ::_exit(code);
}

// The names the inotify descriptor reports, stamped with the time they are read.
void readFolderEvents(int watch, Clock::time_point started, std::vector<FolderEvent>& events) {
    alignas(inotify_event) char buffer[16384];
    for (ssize_t got; (got = ::read(watch, buffer, sizeof buffer)) > 0;) {
        const auto at = Clock::now() - started;
        for (char* p = buffer; p < buffer + got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(p);
            if (event->len > 0) events.push_back({at, event->name});
            p += sizeof(inotify_event) + event->len;
        }
    }
}

ChildEnd run(const std::function<void()>& work, Clock::duration killAfter, bool kill, const std::string& watched,
             bool killsItself = false) {
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
    const int watch = watched.empty() ? -1 : ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (watch >= 0 && ::inotify_add_watch(watch, watched.c_str(), IN_CREATE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE) < 0)
        throw std::runtime_error("inotify_add_watch failed");
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        ::close(report[0]);
        if (watch >= 0) ::close(watch);
        beTheChild(report[1], work);
    }
    const Clock::time_point started = Clock::now();
    ::close(report[1]);

    // The report pipe reaches its end when the child's last descriptor closes, that is when it ends.
    const Clock::time_point deadline = started + (kill ? killAfter : Clock::duration(kHangLimit));
    ChildEnd end;
    std::string message;
    bool ended = false;
    bool signalled = false;
    while (!ended) {
        const auto left = deadline - Clock::now();
        if (left <= Clock::duration::zero()) {
            ::kill(pid, SIGKILL);
            signalled = true;
            break;
        }
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        const timespec wait{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
        pollfd fds[2] = {{report[0], POLLIN, 0}, {watch, POLLIN, 0}};
        const int ready = ::ppoll(fds, watch >= 0 ? 2 : 1, &wait, nullptr);
        if (ready < 0 && errno != EINTR) throw std::runtime_error("ppoll failed");
        if (ready <= 0) continue;
        if (watch >= 0 && (fds[1].revents & POLLIN)) readFolderEvents(watch, started, end.folderEvents);
        if (!(fds[0].revents & (POLLIN | POLLHUP))) continue;
        char buffer[4096];
        const ssize_t got = ::read(report[0], buffer, sizeof buffer);
        if (got > 0) message.append(buffer, static_cast<std::size_t>(got));
        else if (got == 0 || errno != EINTR) ended = true;
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    end.took = Clock::now() - started;
    if (watch >= 0) {
        readFolderEvents(watch, started, end.folderEvents);
        ::close(watch);
    }
    if (ended) {
        // A child that ended right at the kill reports what it did, not our signal.
        char buffer[4096];
        for (ssize_t got; (got = ::read(report[0], buffer, sizeof buffer)) > 0;) message.append(buffer, got);
    }
    ::close(report[0]);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        end.how = ChildEnd::Finished;
    } else if (WIFEXITED(status) && WEXITSTATUS(status) == 1) {
        end.how = ChildEnd::Failed;
        end.message = message;
    } else if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL && killsItself) {
        end.how = ChildEnd::Killed;
    } else if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL && signalled) {
        end.how = kill ? ChildEnd::Killed : ChildEnd::Crashed;
        if (!kill) end.message = "did not end within " + std::to_string(kHangLimit.count()) + " s and was stopped";
    } else {
        end.how = ChildEnd::Crashed;
        end.message = WIFSIGNALED(status) ? "died of signal " + std::to_string(WTERMSIG(status))
                                          : "exit code " + std::to_string(WEXITSTATUS(status));
    }
    return end;
}

}  // namespace

ChildEnd runToEnd(const std::function<void()>& work, const std::string& watched) { return run(work, {}, false, watched); }

ChildEnd runKilledAfter(const std::function<void()>& work, std::chrono::duration<double> delay) {
    return run(work, std::chrono::duration_cast<Clock::duration>(delay), true, {});
}

ChildEnd runKilledAt(const std::function<void()>& work, engine::core::Moment moment) {
    const auto killedThere = [&] {
        engine::core::setMomentHookForTesting([moment](engine::core::Moment reached) {
            if (reached == moment) ::kill(::getpid(), SIGKILL);
        });
        work();
    };
    return run(killedThere, {}, false, {}, true);
}

std::string failureOf(const std::string& what, const std::function<void()>& work) {
    const ChildEnd end = runToEnd(work);
    if (end.how == ChildEnd::Finished) return "";
    return what + (end.how == ChildEnd::Failed ? " failed: \"" + end.message + "\"" : " " + end.message);
}

}  // namespace crash
