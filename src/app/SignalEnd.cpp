// Turns SIGINT, SIGTERM and SIGHUP into a call on the window's thread.
#include "app/SignalEnd.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <stdexcept>

#include "core/export/Leftovers.h"

namespace tabulon {
namespace {

constexpr std::array<int, 3> kEndSignals = {SIGINT, SIGTERM, SIGHUP};

// The write end of the pipe the handler puts the signal's number into; -1 when none is set.
volatile std::sig_atomic_t writeEnd = -1;

// Only what is safe in a signal handler: one write of one byte.
extern "C" void passOn(int signal) {
    const int saved = errno;
    const auto number = static_cast<unsigned char>(signal);
    if (writeEnd >= 0) static_cast<void>(::write(writeEnd, &number, 1));
    errno = saved;
}

}  // namespace

SignalEnd::SignalEnd(std::function<void(int)> end, QObject* parent)
    : QObject(parent), end_(std::move(end)) {
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::runtime_error("no pipe for the signals that end the program");
    writeEnd = pipe_[1];
    notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        unsigned char number = 0;
        if (::read(pipe_[0], &number, 1) == 1) end_(number);
    });
    struct sigaction action {};
    action.sa_handler = passOn;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t k = 0; k < kEndSignals.size(); ++k)
        ::sigaction(kEndSignals[k], &action, &previous_[k]);
}

void SignalEnd::endNowIfSignalled() {
    unsigned char number = 0;
    if (::read(pipe_[0], &number, 1) == 1) endNow(number);
}

void endNow(int signal) {
    removeLeftovers();
    std::_Exit(128 + signal);
}

SignalEnd::~SignalEnd() {
    for (std::size_t k = 0; k < kEndSignals.size(); ++k)
        ::sigaction(kEndSignals[k], &previous_[k], nullptr);
    writeEnd = -1;
    delete notifier_;
    ::close(pipe_[0]);
    ::close(pipe_[1]);
}

}  // namespace tabulon
