#include "files/table_file.h"

#include "files/csv_text.h"
#include "files/workbook_reader.h"

#include <QFile>
#include <QFileInfo>

namespace tarvela::files {

TableRead readTableFile(const QString& path, const QString& sheetName) {
    TableRead read;
    QFile file(path);
    if (!QFileInfo(path).isFile()) {
        read.error = QStringLiteral("No se encuentra el archivo '%1'.").arg(path);
        return read;
    }
    if (file.size() > kMaxTableFileSize) {
        read.error = QStringLiteral("El archivo '%1' es demasiado grande (más de %2 MB).")
                         .arg(path)
                         .arg(kMaxTableFileSize >> 20);
        return read;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        read.error =
            QStringLiteral("No se pudo leer el archivo '%1': %2").arg(path, file.errorString());
        return read;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        read.error =
            QStringLiteral("No se pudo leer el archivo '%1': %2").arg(path, file.errorString());
        return read;
    }
    const bool namedWorkbook =
        QFileInfo(path).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0;
    if (bytes.startsWith("PK\x03\x04") || (namedWorkbook && !bytes.isEmpty()))
        return readWorkbook(bytes, sheetName);
    return readCsv(bytes);
}

} // namespace tarvela::files
