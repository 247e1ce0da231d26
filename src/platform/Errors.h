#pragma once

#include <QString>
#include <stdexcept>

// Errors that reach the error box. Where the program lets a bad file or a bad number stop an
// operation, it throws one of these; the application object catches it, shows the message titled
// with the application title, and the program goes on from the state reached.
namespace platform {

class Exception : public std::runtime_error {
public:
    explicit Exception(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

// A text that should have been a number ("'abc' is not a valid integer value").
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A file that cannot be opened, read or written, or ends too early.
class EInOutError : public Exception {
public:
    using Exception::Exception;
};

// A value quoted in a message, cut when long: a file's (fromFile) as printable ASCII, a typed
// one without its control codes; what is not shown stands as '?'.
QString quotedValue(const QString& text, bool fromFile);

// Messages in the form the error box shows; file and line are 1-based where given. The value
// is quoted by quotedValue, as a file's when a file is named.
QString convertMessage(const QString& text, const QString& file = {}, int line = 0);
QString readErrorMessage(const QString& file, const QString& reason);

} // namespace platform
