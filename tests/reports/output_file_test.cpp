#include "reports/output_file.h"

#include "support/document_reading.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tarvela::test {
namespace {

reports::WriteFailure writeText(const QString& path, const QByteArray& text) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        return {file.errorString(), file.error()};
    return {};
}

TEST(OutputFile, EachDocumentGetsANameOfItsOwnAndNeverReplacesAFile) {
    QTemporaryDir dir;
    const QString folder = dir.path();
    const auto write = [&](const QByteArray& text) {
        return reports::writeNewFile(folder, QStringLiteral("Fórmula 1001 v2"),
                                     QStringLiteral("xlsx"),
                                     [&](const QString& path) { return writeText(path, text); });
    };
    const reports::WrittenFile first = write("uno");
    const reports::WrittenFile second = write("dos");
    ASSERT_TRUE(first.ok() && second.ok());
    EXPECT_EQ(first.path, QDir(folder).filePath(QStringLiteral("Fórmula 1001 v2.xlsx")));
    EXPECT_EQ(second.path, QDir(folder).filePath(QStringLiteral("Fórmula 1001 v2 (2).xlsx")));
    // The permissions of a new file, not the temporary file's.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(first.path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644 & ~mask);
    QFile kept(first.path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("uno"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST(OutputFile, AFailedWriteLeavesNothingBehind) {
    QTemporaryDir dir;
    const reports::WrittenFile failed = reports::writeNewFile(
        dir.path(), QStringLiteral("x"), QStringLiteral("odt"), [](const QString&) {
            return reports::WriteFailure{QStringLiteral("no se pudo componer el documento"), 0};
        });
    EXPECT_FALSE(failed.ok());
    EXPECT_EQ(failed.error, QStringLiteral("No se pudo escribir el archivo '") +
                                QDir(dir.path()).filePath(QStringLiteral("x.odt")) +
                                QStringLiteral("': no se pudo componer el documento."));
    EXPECT_TRUE(failed.path.isEmpty());
    const reports::WrittenFile empty =
        reports::writeNewFile(dir.path(), QStringLiteral("x"), QStringLiteral("odt"),
                              [](const QString&) { return reports::WriteFailure{}; });
    EXPECT_FALSE(empty.ok()) << "a writer that wrote nothing did not succeed";
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());

    UnwritableFolder unwritable;
    const reports::WrittenFile refused =
        reports::writeNewFile(unwritable.path(), QStringLiteral("x"), QStringLiteral("odt"),
                              [](const QString& path) { return writeText(path, "contenido"); });
    EXPECT_FALSE(refused.ok());
    EXPECT_EQ(refused.error, QStringLiteral("No se pudo escribir el archivo '") +
                                 QDir(unwritable.path()).filePath(QStringLiteral("x.odt")) +
                                 QStringLiteral("': permiso denegado."));
}

TEST(OutputFile, NamesLoseWhatFoldersTreatSpecially) {
    EXPECT_EQ(reports::fileNamePart(QStringLiteral(" Fórmula 10/2 v1:a\"b ")),
              QStringLiteral("Fórmula 10_2 v1_a_b"));
    EXPECT_EQ(reports::fileNamePart(QStringLiteral("..oculto")), QStringLiteral("oculto"));
}

} // namespace
} // namespace tarvela::test
