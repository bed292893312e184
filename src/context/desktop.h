#pragma once

#include <QString>
#include <QStringList>

// What the system asks of the desktop: message boxes, Yes/No questions, the file dialogs,
// opening a document with its associated program, keystrokes, the busy pointer, the folders for
// generated documents and the default printer. The program uses real dialogs; tests use a
// scripted desktop that records every message and answers questions from a queue; the command
// line prints.
namespace tarvela {

enum class MsgIcon { None, Information, Warning, Critical, Question };

// The answer to a question that may also be cancelled.
enum class Answer { Yes, No, Cancel };

class Desktop {
public:
    virtual ~Desktop() = default;

    // A message box with an OK button. An empty title shows the application's name.
    virtual void message(const QString& text, MsgIcon icon = MsgIcon::None,
                         const QString& title = {}) = 0;
    // A Yes/No question with the question icon; true means Yes.
    virtual bool question(const QString& text, const QString& title = {}) = 0;
    // A Yes/No/Cancel question with the question icon. A desktop that cannot offer Cancel asks
    // Yes/No.
    virtual Answer questionWithCancel(const QString& text, const QString& title = {});
    // The save-file dialog: filters as "CSV (delimitado por comas) (*.csv)". Empty = cancelled.
    virtual QString saveFileName(const QString& title, const QStringList& filters) = 0;
    // The open-file dialog for an existing file, with the same filters. Empty = cancelled.
    virtual QString openFileName(const QString& title, const QStringList& filters) = 0;
    // Opens a document with the program associated with its type. Returns a shell result:
    // above 32 success; 31 no program associated with the type; any other value failure.
    virtual int openDocument(const QString& path) = 0;
    // Keystrokes to the active window: "{TAB}" moves the focus on, "%f" opens the menu whose
    // mnemonic is F. Failures are ignored.
    virtual void sendKeys(const QString& keys) = 0;
    // The hourglass pointer on or off (calls nest).
    virtual void setBusy(bool busy) = 0;

    // Where generated documents are written: the user's documents folder (a printout kept as a
    // PDF document) and the temporary folder (workbooks and documents handed over unsaved).
    virtual QString documentsFolder();
    virtual QString temporaryFolder();
    // Whether the desktop has a default printer; without one a printout is kept as a document.
    virtual bool hasDefaultPrinter();
};

// Shows the busy pointer from construction until release() or the end of the scope.
class BusyPointer {
public:
    explicit BusyPointer(Desktop& desktop) : desktop_(desktop) { desktop_.setBusy(true); }
    ~BusyPointer() { release(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

    void release() {
        if (on_)
            desktop_.setBusy(false);
        on_ = false;
    }

private:
    Desktop& desktop_;
    bool on_ = true;
};

} // namespace tarvela
