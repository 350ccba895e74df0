// Turns SIGINT, SIGTERM and SIGHUP (Ctrl+C in the starting terminal, the end of a session) into
// a call on the window's thread, so that the program can end as its windows would.
#pragma once

#include <signal.h>

#include <QObject>
#include <array>
#include <functional>

class QSocketNotifier;

namespace tabulon {

class SignalEnd : public QObject {
    Q_OBJECT
  public:
    // `end` is called with the signal's number at the next event pass after a signal. Only one
    // SignalEnd may exist at a time; the signals' earlier handling comes back when it goes.
    explicit SignalEnd(std::function<void(int signal)> end, QObject* parent = nullptr);
    ~SignalEnd() override;
    SignalEnd(const SignalEnd&) = delete;
    // Where the event loop does not run (between the files of a save): ends at once when a
    // signal has come.
    void endNowIfSignalled();
    SignalEnd& operator=(const SignalEnd&) = delete;

  private:
    std::function<void(int)> end_;
    std::array<struct sigaction, 3> previous_{};
    int pipe_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
};

// Ends the process at once with 128 + the signal's number, after removing the private folders
// of its runs and a file that a save was writing.
[[noreturn]] void endNow(int signal);

}  // namespace tabulon
