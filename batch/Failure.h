#pragma once

#include <QByteArray>
#include <QString>
#include <exception>
#include <functional>

namespace batch {

// A failure that ends the running command; its message is shown to the user as it stands.
class Failure : public std::exception {
public:
    explicit Failure(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// Runs a command; a failure it raises ends it, and its message goes to `show`. Nothing escapes
// into the event loop.
inline void runGuarded(const std::function<void()>& command,
                       const std::function<void(const QString&)>& show) {
    try {
        command();
    } catch (const Failure& failure) {
        show(failure.message());
    } catch (const std::exception& failure) {
        show(QString::fromUtf8(failure.what()));
    }
}

} // namespace batch
