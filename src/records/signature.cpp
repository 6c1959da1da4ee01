#include "records/signature.h"

#include <QDir>
#include <QSettings>

namespace veltron::records {

namespace {

// The choice lives beside the two databases, so that each data folder keeps
// its own, and only a confirmed choice writes it.
QString signatureFile(const QString& dataDir)
{
    return QDir(dataDir).filePath(QStringLiteral("signature.ini"));
}

}  // namespace

Signature rememberedSignature(const QString& dataDir)
{
    if (dataDir.isEmpty())
        return {};
    const QSettings settings(signatureFile(dataDir), QSettings::IniFormat);
    return {settings.value(QStringLiteral("signature/position")).toString(),
            settings.value(QStringLiteral("signature/performer")).toString(),
            settings.value(QStringLiteral("signature/source")).toString()};
}

bool rememberSignature(const QString& dataDir, const Signature& s)
{
    if (dataDir.isEmpty())
        return false;
    QSettings settings(signatureFile(dataDir), QSettings::IniFormat);
    settings.setValue(QStringLiteral("signature/position"), s.position);
    settings.setValue(QStringLiteral("signature/performer"), s.performer);
    settings.setValue(QStringLiteral("signature/source"), s.source);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

std::optional<Signature> signerOf(const QString& text)
{
    const int bar = text.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return std::nullopt;
    return Signature{text.left(bar).trimmed(), text.mid(bar + 1).trimmed(), {}};
}

}  // namespace veltron::records
