#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

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

} // namespace batch
