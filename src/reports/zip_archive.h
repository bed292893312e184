#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// A ZIP archive of a few small files, stored without compression in the order given, as
// document packages (OpenDocument) are made.
namespace tarvela::reports {

struct ArchiveEntry {
    QString name;
    QByteArray contents;
};

QByteArray zipArchive(const std::vector<ArchiveEntry>& entries);

} // namespace tarvela::reports
