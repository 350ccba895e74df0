// --output -: the results of a run written to standard output instead of files.
#include "cli/StdoutResults.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/export/SaveResults.h"

namespace tabulon::cli {

StdoutResults::StdoutResults(ErrorReporter& errors, std::string_view textEnd)
    : trap_(errors, kSaveLabel), textEnd_(textEnd) {
    // Small results are gathered into large writes; large ones pass in 1 MiB pieces.
    std::setvbuf(stdout, nullptr, _IOFBF, 1 << 18);
}

void StdoutResults::write(const ResultStore& results) {
    for (std::size_t k = 0; k < results.size() && failure_.empty(); ++k) {
        if (beforeEachResult) beforeEachResult();
        const int before = trap_.errorCount();
        trap_.run(106, [&] { results.read(k, [&](std::string_view bytes) { put(bytes); }); });
        if (trap_.errorCount() == before) put(textEnd_);
    }
}

void StdoutResults::finish() {
    if (failure_.empty() && std::fflush(stdout) != 0)
        failure_ = std::string("standard output: ") + std::strerror(errno);
}

void StdoutResults::put(std::string_view bytes) {
    if (!failure_.empty() || bytes.empty()) return;
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size())
        failure_ = std::string("standard output: ") + std::strerror(errno != 0 ? errno : EIO);
}

}  // namespace tabulon::cli
