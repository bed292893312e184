#include "cli/terminal_output.h"

#include "text/file_errors.h"

#include <QJsonDocument>

#include <cerrno>
#include <cstdio>

namespace tarvela::cli {

namespace {

bool isControl(char16_t u) {
    return u < 0x20 || (u >= 0x7f && u <= 0x9f);
}

QString hex(char16_t u) {
    return QString::number(u, 16).rightJustified(2, QLatin1Char('0')).toUpper();
}

// The system's reason for the first write to standard output that failed.
int outputError = 0;

void write(FILE* out, const QByteArray& bytes) {
    errno = 0;
    const size_t written =
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), out);
    if (written != static_cast<size_t>(bytes.size()) && out == stdout && outputError == 0)
        outputError = errno;
}

} // namespace

QString terminalText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!isControl(u))
            out += c;
        else if (u == u'\n')
            out += QStringLiteral("\\n");
        else if (u == u'\t')
            out += QStringLiteral("\\t");
        else if (u == u'\r')
            out += QStringLiteral("\\r");
        else
            out += QStringLiteral("\\x") + hex(u);
    }
    return out;
}

QByteArray jsonText(const QJsonObject& object) {
    const QByteArray json = QJsonDocument(object).toJson(QJsonDocument::Indented);
    // DEL is one byte, a C1 control the two bytes C2 80 to C2 9F; neither can be part of another
    // character's bytes, and outside strings the document holds neither.
    QByteArray out;
    out.reserve(json.size());
    for (qsizetype i = 0; i < json.size(); ++i) {
        const auto byte = static_cast<unsigned char>(json[i]);
        if (byte == 0x7f) {
            out += "\\u007f";
        } else if (byte == 0xc2 && i + 1 < json.size() &&
                   static_cast<unsigned char>(json[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(json[i + 1]) <= 0x9f) {
            out += "\\u00" + QByteArray::number(static_cast<unsigned char>(json[i + 1]), 16);
            ++i;
        } else {
            out += json[i];
        }
    }
    return out;
}

void printOut(const QString& text) {
    write(stdout, text.toUtf8());
}

void printOut(const QByteArray& bytes) {
    write(stdout, bytes);
}

void printError(const QString& message) {
    write(stderr, QStringLiteral("tarvela-cli: %1\n").arg(terminalText(message)).toUtf8());
    std::fflush(stderr);
}

int finishOutput(int code) {
    // A write that failed earlier leaves the stream's error flag set; flushing and closing tell
    // the rest.
    errno = 0;
    const bool flushFailed = std::fflush(stdout) != 0;
    const int flushError = errno;
    const bool failed = flushFailed || std::ferror(stdout) != 0;
    errno = 0;
    const bool closeFailed = std::fclose(stdout) != 0;
    const int error = outputError != 0 ? outputError : failed ? flushError : errno;
    if (!failed && !closeFailed)
        return code;
    printError(
        QStringLiteral("no se pudo escribir la salida: %1.").arg(text::fileErrorReason(error)));
    return 2;
}

} // namespace tarvela::cli
