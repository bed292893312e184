#include "files/zip_package.h"

#include "text/file_errors.h"

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

// A libzip error as the user reads it, in Spanish; a system error with the system's reason.
QString reasonOf(const zip_error_t* error) {
    const int system =
        zip_error_system_type(error) == ZIP_ET_SYS ? zip_error_code_system(error) : 0;
    QString reason;
    switch (zip_error_code_zip(error)) {
    case ZIP_ER_OK:
        return {};
    case ZIP_ER_MULTIDISK:
        reason = QStringLiteral("es un archivo ZIP dividido en varias partes");
        break;
    case ZIP_ER_CRC:
        reason = QStringLiteral("una suma de control no coincide con su contenido");
        break;
    case ZIP_ER_NOENT:
        reason = QStringLiteral("no existe");
        break;
    case ZIP_ER_MEMORY:
        reason = QStringLiteral("no hay memoria suficiente");
        break;
    case ZIP_ER_COMPNOTSUPP:
        reason = QStringLiteral("usa un método de compresión no admitido");
        break;
    case ZIP_ER_EOF:
        reason = QStringLiteral("termina antes de tiempo");
        break;
    case ZIP_ER_NOZIP:
        reason = QStringLiteral("no es un archivo ZIP");
        break;
    case ZIP_ER_INCONS:
        reason = QStringLiteral("su índice no concuerda con su contenido");
        break;
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD:
        reason = QStringLiteral("está cifrado");
        break;
    case ZIP_ER_ZLIB:
    case ZIP_ER_COMPRESSED_DATA:
        reason = QStringLiteral("sus datos comprimidos no son válidos");
        break;
    case ZIP_ER_READ:
    case ZIP_ER_SEEK:
    case ZIP_ER_TELL:
        reason = QStringLiteral("error de lectura");
        break;
    case ZIP_ER_WRITE:
    case ZIP_ER_CLOSE:
    case ZIP_ER_RENAME:
    case ZIP_ER_REMOVE:
        reason = QStringLiteral("error de escritura");
        break;
    case ZIP_ER_OPEN:
    case ZIP_ER_TMPOPEN:
        reason = QStringLiteral("no se pudo abrir");
        break;
    default:
        reason = QStringLiteral("error interno de la biblioteca ZIP (%1)")
                     .arg(zip_error_code_zip(error));
        break;
    }
    if (system != 0)
        reason += QStringLiteral(": ") + text::fileErrorReason(system);
    return reason;
}

QString errorText(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    QString text = reasonOf(&error);
    zip_error_fini(&error);
    return text;
}

QString archiveError(zip_t* archive) {
    return reasonOf(zip_get_error(archive));
}

// The archive's failure: its reason, and the system's error number when the system refused (0
// otherwise).
FileFailure failureOf(zip_t* archive) {
    zip_error_t* error = zip_get_error(archive);
    const int system =
        zip_error_system_type(error) == ZIP_ET_SYS ? zip_error_code_system(error) : 0;
    return {reasonOf(error), system};
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
        error = reasonOf(&failure);
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
    if (failed) {
        const QString reason = reasonOf(zip_file_get_error(file));
        error = reason.isEmpty() ? QStringLiteral("la parte %1 está dañada").arg(name)
                                 : QStringLiteral("la parte %1 está dañada: %2").arg(name, reason);
    }
    zip_fclose(file);
    if (failed)
        return std::nullopt;
    return out;
}

} // namespace tarvela::files
