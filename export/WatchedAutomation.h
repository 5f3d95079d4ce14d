#pragma once

#include "export/OfficeAutomation.h"

#include <atomic>
#include <chrono>
#include <exception>
#include <memory>

namespace exporting {

// What an export running on a thread of its own shares with the window that waits for it. The
// export marks every answer of the office; the window reads how long the office has been silent,
// and may give the export up, which ends it before its next call to the office.
class ExportWatch {
public:
    using Clock = std::chrono::steady_clock;

    ExportWatch() : lastAnswer_(Clock::now().time_since_epoch().count()) {}

    // The office has answered a call just now (or the export has just begun).
    void answered() { lastAnswer_ = Clock::now().time_since_epoch().count(); }
    Clock::duration silence() const { return Clock::now().time_since_epoch() - Clock::duration(lastAnswer_); }

    void abandon() { abandoned_ = true; }
    bool abandoned() const { return abandoned_; }

private:
    std::atomic<Clock::rep> lastAnswer_;
    std::atomic<bool> abandoned_{false};
};

// Raised instead of the next call to the office once the export has been given up. Nobody shows
// it: the user who gave the export up is no longer waiting for it.
struct ExportAbandoned : std::exception {
    const char* what() const noexcept override { return "export abandoned"; }
};

// The client with every call of its servers watched: before a call, an abandoned export ends with
// ExportAbandoned; after it, the office has answered. Calls and their order are the client's own.
std::unique_ptr<AutomationClient> watchedClient(std::unique_ptr<AutomationClient> client,
                                                std::shared_ptr<ExportWatch> watch);

} // namespace exporting
