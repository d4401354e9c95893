#pragma once

#include <QString>
#include <stdexcept>

namespace vornak {

// Every failure of the system is one of these. The message is the text the user sees.
class Error : public std::runtime_error {
public:
    explicit Error(const QString &message)
        : std::runtime_error(message.toStdString()),
          message_(message)
    {
    }
    const QString &message() const { return message_; }

private:
    QString message_;
};

// Raised by the database engine and by the dataset layer. A failure raised on behalf of a
// named dataset carries "<name>: " in front of the engine's or the layer's text.
class DatabaseError : public Error {
public:
    using Error::Error;
    static DatabaseError forComponent(const QString &componentName, const QString &text)
    {
        return DatabaseError(componentName.isEmpty() ? text : componentName + QStringLiteral(": ") + text);
    }
};

// The file stayed locked by another process for longer than the engine waits: nothing was
// written, and the same change may succeed when tried again.
class DatabaseLockedError : public DatabaseError {
public:
    using DatabaseError::DatabaseError;
};

// A value that cannot be converted to the kind asked for (text to number, text to date, ...).
class ConversionError : public Error {
public:
    using Error::Error;
};

// Raised inside the report engine (template, script, expressions, band engine).
class EngineError : public Error {
public:
    using Error::Error;
};

}  // namespace vornak
