#pragma once

#include <QString>
#include <exception>

namespace platform {

// The one error type of the program: every failure of a record set, a field or the provider
// travels as an Error up to the guard that shows it in the application-wide error box.
class Error : public std::exception {
public:
    explicit Error(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// Ends an action without any box (the answer No to a delete question).
class Abort : public Error {
public:
    Abort() : Error(QStringLiteral("Operation aborted")) {}
};

[[noreturn]] inline void abortSilently() {
    throw Abort();
}

} // namespace platform
