// Turns a Markdown text into a PDF document: make_document_pdf INPUT.md OUTPUT.pdf
// Used at build time for the documents of the installation folder.
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 3) {
        std::fputs("uso: make_document_pdf ENTRADA.md SALIDA.pdf\n", stderr);
        return 2;
    }
    QFile input(args[1]);
    if (!input.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "no se puede leer %s\n", qPrintable(args[1]));
        return 1;
    }
    const QString markdown = QString::fromUtf8(input.readAll());
    QString title = markdown.section(QLatin1Char('\n'), 0, 0);
    if (title.startsWith(QLatin1String("# ")))
        title = title.mid(2).trimmed();

    QTextDocument document;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(10.5);
    document.setDefaultFont(font);
    document.setMarkdown(markdown);

    QPdfWriter writer(args[2]);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Tarvela"));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    document.print(&writer);
    return QFile::exists(args[2]) ? 0 : 1;
}
