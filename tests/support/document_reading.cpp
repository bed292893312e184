#include "support/document_reading.h"

#include "files/zip_package.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>

namespace tarvela::test {

namespace {

QByteArray readPackage(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

constexpr double kMmPerPoint = 25.4 / 72.0;

} // namespace

QByteArray zipEntry(const QString& package, const QString& name) {
    QString error;
    const std::optional<files::ZipPackage> zip = files::ZipPackage::open(readPackage(package), error);
    if (!zip || !zip->contains(name))
        return {};
    const std::optional<QByteArray> contents = zip->entry(name, error);
    EXPECT_TRUE(contents) << name.toStdString() << ": " << error.toStdString();
    return contents.value_or(QByteArray());
}

QStringList zipEntryNames(const QString& package) {
    QString error;
    const std::optional<files::ZipPackage> zip = files::ZipPackage::open(readPackage(package), error);
    return zip ? zip->names() : QStringList();
}

QString PdfLine::text() const {
    QStringList parts;
    for (const PdfWord& w : words)
        parts << w.text;
    return parts.join(QLatin1Char(' '));
}

const PdfWord* PdfLine::word(const QString& text) const {
    for (const PdfWord& w : words)
        if (w.text == text)
            return &w;
    return nullptr;
}

const PdfLine* PdfPage::lineWith(const QString& text) const {
    for (const PdfLine& line : lines)
        if (line.text().contains(text))
            return &line;
    return nullptr;
}

std::vector<PdfPage> pdfPages(const QString& path) {
    std::vector<PdfPage> pages;
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext (poppler-utils) could not read " << path.toStdString() << ": "
                      << process.errorString().toStdString();
        return pages;
    }
    QXmlStreamReader xml(process.readAllStandardOutput());
    std::vector<PdfWord> words;
    const auto finishPage = [&] {
        if (pages.empty())
            return;
        std::sort(words.begin(), words.end(), [](const PdfWord& a, const PdfWord& b) {
            return a.y < b.y - 0.5 || (std::abs(a.y - b.y) <= 0.5 && a.x < b.x);
        });
        for (const PdfWord& w : words) {
            if (pages.back().lines.empty() || std::abs(pages.back().lines.back().y - w.y) > 0.5)
                pages.back().lines.push_back({w.y, {}});
            pages.back().lines.back().words.push_back(w);
        }
        for (PdfLine& line : pages.back().lines)
            std::sort(line.words.begin(), line.words.end(),
                      [](const PdfWord& a, const PdfWord& b) { return a.x < b.x; });
        words.clear();
    };
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const auto attribute = [&xml](const char* name) {
            return xml.attributes().value(QLatin1String(name)).toDouble() * kMmPerPoint;
        };
        if (xml.name() == QLatin1String("page")) {
            finishPage();
            pages.push_back({attribute("width"), attribute("height"), {}});
        } else if (xml.name() == QLatin1String("word")) {
            PdfWord w;
            w.x = attribute("xMin");
            w.y = attribute("yMin");
            w.right = attribute("xMax");
            w.bottom = attribute("yMax");
            // Ligatures ("ﬁ") read as their letters.
            w.text = xml.readElementText().normalized(QString::NormalizationForm_KC);
            words.push_back(w);
        }
    }
    finishPage();
    return pages;
}

QStringList pdfFontNames(const QString& path) {
    QProcess process;
    process.start(QStringLiteral("pdffonts"), {path});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        ADD_FAILURE() << "pdffonts (poppler-utils) could not read " << path.toStdString();
        return {};
    }
    // Two heading lines, then one font per line, its name first.
    QStringList names;
    const QStringList lines =
        QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'));
    for (qsizetype i = 2; i < lines.size(); ++i)
        if (!lines[i].trimmed().isEmpty())
            names << lines[i].section(QLatin1Char(' '), 0, 0);
    return names;
}

UnwritableFolder::UnwritableFolder() {
    // A folder without write permission; a privileged user writes anywhere but in /sys, where
    // creating a file is refused as for anyone without the permission.
    if (::geteuid() == 0) {
        path_ = QStringLiteral("/sys");
        return;
    }
    QTemporaryDir dir;
    dir.setAutoRemove(false);
    base_ = dir.path();
    QFile::setPermissions(base_, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    path_ = base_;
}

UnwritableFolder::~UnwritableFolder() {
    if (base_.isEmpty())
        return;
    QFile::setPermissions(base_,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QDir(base_).removeRecursively();
}

} // namespace tarvela::test
