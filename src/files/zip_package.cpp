#include "files/zip_package.h"

#include <QFile>

#include <zip.h>

#include <cerrno>
#include <ctime>

namespace tarvela::files {

namespace {

// 1 January 2026, 00:00, local time: the date every entry carries.
time_t fixedEntryTime() {
    std::tm day{};
    day.tm_year = 2026 - 1900;
    day.tm_mon = 0;
    day.tm_mday = 1;
    day.tm_isdst = -1;
    return std::mktime(&day);
}

QString errorText(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    QString text = QString::fromUtf8(zip_error_strerror(&error));
    zip_error_fini(&error);
    return text;
}

QString archiveError(zip_t* archive) {
    return QString::fromUtf8(zip_strerror(archive));
}

// The archive's failure: libzip's description, and the system's error number when the system
// refused (0 otherwise).
FileFailure failureOf(zip_t* archive) {
    zip_error_t* error = zip_get_error(archive);
    const int system =
        zip_error_system_type(error) == ZIP_ET_SYS ? zip_error_code_system(error) : 0;
    return {QString::fromUtf8(zip_error_strerror(error)), system};
}

} // namespace

FileFailure writeZipPackage(const QString& path, const std::vector<PackageEntry>& entries) {
    int code = 0;
    zip_t* archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive) {
        const int system = errno;
        return {errorText(code) + QStringLiteral(": ") + path,
                code == ZIP_ER_OPEN || code == ZIP_ER_TMPOPEN ? system : 0};
    }
    const time_t when = fixedEntryTime();
    for (const PackageEntry& entry : entries) {
        // The buffer is read when the archive is closed; the entries outlive that.
        zip_source_t* source =
            zip_source_buffer(archive, entry.contents.constData(),
                              static_cast<zip_uint64_t>(entry.contents.size()), 0);
        const QByteArray name = entry.name.toUtf8();
        const zip_int64_t index =
            source ? zip_file_add(archive, name.constData(), source, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            zip_source_free(source);
            const FileFailure failure = failureOf(archive);
            zip_discard(archive);
            return failure;
        }
        const auto at = static_cast<zip_uint64_t>(index);
        if (zip_set_file_compression(archive, at, entry.compressed ? ZIP_CM_DEFLATE : ZIP_CM_STORE,
                                     0) != 0 ||
            zip_file_set_mtime(archive, at, when, 0) != 0) {
            const FileFailure failure = failureOf(archive);
            zip_discard(archive);
            return failure;
        }
    }
    if (zip_close(archive) != 0) {
        const FileFailure failure = failureOf(archive);
        zip_discard(archive);
        return failure;
    }
    return {};
}

struct ZipPackage::State {
    QByteArray bytes; // the archive reads from these bytes as long as it is open
    zip_t* archive = nullptr;

    ~State() {
        if (archive)
            zip_discard(archive);
    }
};

ZipPackage::ZipPackage(std::unique_ptr<State> state) : state_(std::move(state)) {}
ZipPackage::ZipPackage(ZipPackage&&) noexcept = default;
ZipPackage& ZipPackage::operator=(ZipPackage&&) noexcept = default;
ZipPackage::~ZipPackage() = default;

std::optional<ZipPackage> ZipPackage::open(const QByteArray& bytes, QString& error) {
    auto state = std::make_unique<State>();
    state->bytes = bytes;
    zip_error_t failure;
    zip_error_init(&failure);
    zip_source_t* source = zip_source_buffer_create(
        state->bytes.constData(), static_cast<zip_uint64_t>(state->bytes.size()), 0, &failure);
    if (source)
        state->archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &failure);
    if (!state->archive) {
        error = QString::fromUtf8(zip_error_strerror(&failure));
        zip_error_fini(&failure);
        if (source)
            zip_source_free(source);
        return std::nullopt;
    }
    zip_error_fini(&failure);
    return ZipPackage(std::move(state));
}

bool ZipPackage::contains(const QString& name) const {
    return zip_name_locate(state_->archive, name.toUtf8().constData(), 0) >= 0;
}

QStringList ZipPackage::names() const {
    QStringList out;
    const zip_int64_t count = zip_get_num_entries(state_->archive, 0);
    for (zip_int64_t i = 0; i < count; ++i)
        if (const char* name = zip_get_name(state_->archive, static_cast<zip_uint64_t>(i), 0))
            out << QString::fromUtf8(name);
    return out;
}

std::optional<QByteArray> ZipPackage::entry(const QString& name, QString& error,
                                            qint64 maxSize) const {
    const zip_int64_t index = zip_name_locate(state_->archive, name.toUtf8().constData(), 0);
    if (index < 0) {
        error = QStringLiteral("falta la parte %1").arg(name);
        return std::nullopt;
    }
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(state_->archive, static_cast<zip_uint64_t>(index), 0, &stat) != 0 ||
        !(stat.valid & ZIP_STAT_SIZE)) {
        error = archiveError(state_->archive);
        return std::nullopt;
    }
    if (stat.size > static_cast<zip_uint64_t>(maxSize)) {
        error = QStringLiteral("la parte %1 es demasiado grande").arg(name);
        return std::nullopt;
    }
    zip_file_t* file = zip_fopen_index(state_->archive, static_cast<zip_uint64_t>(index), 0);
    if (!file) {
        error = archiveError(state_->archive);
        return std::nullopt;
    }
    QByteArray out(static_cast<qsizetype>(stat.size), Qt::Uninitialized);
    qsizetype filled = 0;
    bool failed = false;
    while (filled < out.size()) {
        const zip_int64_t got =
            zip_fread(file, out.data() + filled, static_cast<zip_uint64_t>(out.size() - filled));
        if (got <= 0) {
            failed = true;
            break;
        }
        filled += got;
    }
    // A further byte, or a checksum that does not match, means a damaged entry.
    char extra = 0;
    if (!failed && zip_fread(file, &extra, 1) != 0)
        failed = true;
    if (failed)
        error = QStringLiteral("la parte %1 está dañada: %2")
                    .arg(name, QString::fromUtf8(zip_file_strerror(file)));
    zip_fclose(file);
    if (failed)
        return std::nullopt;
    return out;
}

} // namespace tarvela::files
