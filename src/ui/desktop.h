#pragma once

#include <QString>
#include <QStringList>

namespace veltron::ui {

// What the program asks of the desktop: opening a document with the
// viewer the user chose for its kind. The program does not wait for the
// viewer and does not close it. Tests install their own service.
class Desktop {
public:
    virtual ~Desktop() = default;
    // False when the desktop has no way to open the document.
    virtual bool openDocument(const QString& path) = 0;
};

// The installed service; the real one unless a test installed its own.
Desktop& desktop();
void installDesktop(Desktop* service);  // nullptr restores the real one

// Records the documents asked for and answers `opens`.
class RecordingDesktop : public Desktop {
public:
    bool openDocument(const QString& path) override
    {
        opened << path;
        return opens;
    }
    QStringList opened;
    bool opens = true;
};

}  // namespace veltron::ui
