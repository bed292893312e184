#include "app/gui/qt_desktop.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPrinterInfo>
#include <QProcess>

namespace tarvela {

namespace {

// Shell results, as the callers read them: above 32 success.
constexpr int kOpened = 42;
constexpr int kOpenerFailed = 0;
constexpr int kFileNotFound = 2;
constexpr int kNoAssociation = 31;

// How long the desktop's opener is given to report a failure. It hands the document to its
// program and ends; an opener still running after this has started the program itself and
// waits for it.
constexpr int kOpenerAnswerMs = 3000;

QString caption(const QString& title) {
    return title.isEmpty() ? QStringLiteral("Tarvela") : title;
}

QMessageBox::Icon boxIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// The first line a desktop tool prints, or empty text when it is missing or fails.
QString toolAnswer(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput())
        .section(QLatin1Char('\n'), 0, 0)
        .trimmed();
}

QString documentType(const QString& path) {
    QString type = toolAnswer(QStringLiteral("xdg-mime"),
                              {QStringLiteral("query"), QStringLiteral("filetype"), path});
    if (type.isEmpty())
        type = QMimeDatabase().mimeTypeForFile(path).name();
    return type;
}

// Drops down the menu of the window's menu bar whose caption has the given mnemonic letter.
void openMenu(QWidget* window, QChar letter) {
    auto* bar = window->findChild<QMenuBar*>();
    if (!bar)
        return;
    const QKeySequence wanted(
        QKeyCombination(Qt::ALT, static_cast<Qt::Key>(letter.toUpper().unicode())));
    for (QAction* action : bar->actions()) {
        if (action->isVisible() && action->isEnabled() &&
            QKeySequence::mnemonic(action->text()) == wanted) {
            bar->setActiveAction(action);
            return;
        }
    }
}

void pressTab(QWidget* window) {
    QWidget* target = QApplication::focusWidget();
    if (!target || target->window() != window)
        target = window->focusWidget() ? window->focusWidget() : window;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    QCoreApplication::sendEvent(target, &release);
}

} // namespace

void QtDesktop::message(const QString& text, MsgIcon icon, const QString& title) {
    QMessageBox box(boxIcon(icon), caption(title), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

bool QtDesktop::question(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::Question, caption(title), text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

Answer QtDesktop::questionWithCancel(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::Question, caption(title), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

QString QtDesktop::saveFileName(const QString& title, const QStringList& filters) {
    QString chosenFilter;
    const QString path =
        QFileDialog::getSaveFileName(nullptr, title, QString(), filters.join(QStringLiteral(";;")),
                                     &chosenFilter, QFileDialog::DontConfirmOverwrite);
    return path.isEmpty() ? path : withFilterExtension(path, chosenFilter);
}

QString withFilterExtension(const QString& path, const QString& filter) {
    const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
    const qsizetype close = filter.lastIndexOf(QLatin1Char(')'));
    if (open < 0 || close <= open)
        return path;
    const QStringList patterns =
        filter.mid(open + 1, close - open - 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QString first;
    for (const QString& pattern : patterns) {
        if (!pattern.startsWith(QStringLiteral("*.")) || pattern == QStringLiteral("*.*"))
            return path;                          // any file
        const QString extension = pattern.mid(1); // ".xlsx"
        if (first.isEmpty())
            first = extension;
        if (path.endsWith(extension, Qt::CaseInsensitive) && path.size() > extension.size())
            return path;
    }
    return first.isEmpty() ? path : path + first;
}

QString QtDesktop::openFileName(const QString& title, const QStringList& filters) {
    return QFileDialog::getOpenFileName(nullptr, title, QString(),
                                        filters.join(QStringLiteral(";;")));
}

int QtDesktop::openDocument(const QString& path) {
    if (!QFileInfo(path).isFile())
        return kFileNotFound;
    const QString type = documentType(path);
    if (type.isEmpty() || toolAnswer(QStringLiteral("xdg-mime"),
                                     {QStringLiteral("query"), QStringLiteral("default"), type})
                              .isEmpty())
        return kNoAssociation;
    // The opener lives on after this call when it keeps running; it goes when it ends.
    auto* opener = new QProcess(QCoreApplication::instance());
    opener->setProgram(QStringLiteral("xdg-open"));
    opener->setArguments({path});
    opener->setStandardInputFile(QProcess::nullDevice());
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
    opener->start();
    if (!opener->waitForStarted(kOpenerAnswerMs)) {
        opener->deleteLater();
        return kOpenerFailed;
    }
    if (!opener->waitForFinished(kOpenerAnswerMs))
        return kOpened;
    // Every failure the opener reports (no program could open the document, the program
    // failed) is a failure to show the document.
    return opener->exitStatus() == QProcess::NormalExit && opener->exitCode() == 0 ? kOpened
                                                                                   : kOpenerFailed;
}

void QtDesktop::sendKeys(const QString& keys) {
    QWidget* window = keyTarget();
    if (!window)
        return;
    if (keys.compare(QLatin1String("{TAB}"), Qt::CaseInsensitive) == 0)
        pressTab(window);
    else if (keys.size() == 2 && keys.at(0) == QLatin1Char('%'))
        openMenu(window, keys.at(1));
}

QWidget* QtDesktop::keyTarget() {
    if (QWidget* active = QApplication::activeWindow())
        return active;
    if (QWidget* focus = QApplication::focusWidget())
        return focus->window();
    return nullptr;
}

void QtDesktop::setBusy(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

bool QtDesktop::hasDefaultPrinter() {
    return !QPrinterInfo::defaultPrinter().isNull();
}

} // namespace tarvela
