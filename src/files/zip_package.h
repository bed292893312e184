#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

// ZIP packages through libzip: writing document packages (OpenDocument), reading the parts of a
// workbook (.xlsx).
namespace tarvela::files {

// A write that failed: the description for the user and the system's error number (errno) when
// the system refused the write, 0 otherwise.
struct FileFailure {
    QString description;
    int number = 0;
    bool failed() const { return !description.isEmpty(); }
};

struct PackageEntry {
    QString name;
    QByteArray contents;
    bool compressed = true; // false: stored as it is (an OpenDocument's "mimetype" must be)
};

// Writes the entries, in their order, as a ZIP package at path, replacing the file there (the
// caller's new, empty file). Entries carry a fixed date, so equal contents give equal packages.
FileFailure writeZipPackage(const QString& path, const std::vector<PackageEntry>& entries);

// A ZIP package read from memory, its whole directory checked when opened.
class ZipPackage {
public:
    // The package, or nothing with the reason in error: not a ZIP archive, or a damaged or
    // truncated one.
    static std::optional<ZipPackage> open(const QByteArray& bytes, QString& error);

    ZipPackage(ZipPackage&&) noexcept;
    ZipPackage& operator=(ZipPackage&&) noexcept;
    ~ZipPackage();

    bool contains(const QString& name) const;
    QStringList names() const;
    // The entry's contents, or nothing with the reason in error (missing, damaged, or larger
    // than maxSize once uncompressed).
    std::optional<QByteArray> entry(const QString& name, QString& error,
                                    qint64 maxSize = kMaxEntrySize) const;

    // The largest entry read by default: a sheet of a million rows fits, an archive bomb does not.
    static constexpr qint64 kMaxEntrySize = qint64(1) << 30;

private:
    struct State;
    explicit ZipPackage(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

} // namespace tarvela::files
