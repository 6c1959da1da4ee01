#pragma once

#include <QString>

#include <stdexcept>

namespace veltron::docx {

// A report document could not be opened, filled or written. The message is
// Russian and meant for the user as it stands.
class DocxError : public std::runtime_error {
public:
    explicit DocxError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message)
    {
    }
    const QString& message() const { return message_; }

private:
    QString message_;
};

}  // namespace veltron::docx
