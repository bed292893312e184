#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// Reading generated documents back as a user's program would: the files inside a package
// (.xlsx, .odt), the words of a PDF document with their places, and a folder no file can be
// written into.
namespace tarvela::test {

// The contents of a file inside a ZIP package; empty when the package has no such file.
QByteArray zipEntry(const QString& package, const QString& name);
// The names of the files inside a ZIP package, in their order.
QStringList zipEntryNames(const QString& package);

struct PdfWord {
    QString text;
    double x = 0; // left edge, millimetres from the page's left edge
    double y = 0; // top edge, millimetres from the page's top
    double right = 0;
    double bottom = 0;
};

// One line of a page: words whose tops are within half a millimetre, left to right.
struct PdfLine {
    double y = 0;
    std::vector<PdfWord> words;
    QString text() const; // the words joined by blanks
    // The first word equal to the text; nullptr when none.
    const PdfWord* word(const QString& text) const;
};

struct PdfPage {
    double width = 0;
    double height = 0;
    std::vector<PdfLine> lines; // top to bottom
    // The first line whose text contains the text; nullptr when none.
    const PdfLine* lineWith(const QString& text) const;
};

// The pages of a PDF document as poppler's pdftotext reads them; the test fails when pdftotext
// is missing or cannot read the file.
std::vector<PdfPage> pdfPages(const QString& path);

// The names of the fonts a PDF document uses, as poppler's pdffonts lists them
// ("LiberationSans-Bold").
QStringList pdfFontNames(const QString& path);

// An existing folder in which no file can be created, even by a privileged user.
class UnwritableFolder {
public:
    UnwritableFolder();
    ~UnwritableFolder();
    const QString& path() const { return path_; }

private:
    QString base_;
    QString path_;
};

} // namespace tarvela::test
