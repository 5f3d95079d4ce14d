#pragma once

#include "batch/Failure.h"

#include <QString>
#include <functional>

// Runs an action that should fail and gives the failure's message, or "<no failure>".
inline QString failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const batch::Failure& failure) {
        return failure.message();
    }
    return QStringLiteral("<no failure>");
}
