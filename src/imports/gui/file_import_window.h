#pragma once

#include "context/app_context.h"
#include "files/table.h"
#include "widgets/editing_window.h"

#include <QString>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QVBoxLayout;

// What the two import windows share: the file's name, the choice of a workbook's sheet, the
// counts of the preview, and "Aplicar" and "Cancelar". The file is read when the window is made
// and again when another sheet is chosen; nothing is written until "Aplicar". Closed otherwise
// than by "Cancelar" while a preview is pending, the window asks whether to apply it.
namespace tarvela {

class FileImportWindow : public EditingWindow {
    Q_OBJECT

public:
    // Whether the file gave a preview; when not, the reason was shown and the window is not
    // worth showing.
    bool loaded() const { return loaded_; }
    // A preview with something to apply is shown and not applied.
    bool hasUnsavedChanges() const override { return loaded_ && !applied_ && hasChangesToApply(); }

    void applyAndClose();

protected:
    FileImportWindow(AppContext& ctx, const QString& path, const QString& name,
                     const QString& caption, QWidget* parent);

    // Reads the file (the sheet chosen) and shows its preview; false (the reason shown) when the
    // file or its preview cannot be made. Call once the window's controls are built.
    bool load();
    // The preview of a table read; the reason (empty when none) why it is no preview.
    virtual QString preview(const files::Table& table) = 0;
    // Asks what the user wants applied and applies it; true when the window may close.
    virtual bool apply() = 0;
    // Whether the preview holds any change that "Aplicar" would write.
    virtual bool hasChangesToApply() const = 0;
    bool saveChanges() override;
    void showCounts(const QString& counts);
    // Whether the user applies what the preview allows although some of it was refused
    // ("fila rechazada", "filas rechazadas"; the rest named as `rest`); asked only when something
    // was refused.
    bool refusalsAccepted(int refused, const QString& one, const QString& many,
                          const QString& rest);
    // Runs the import's write (which returns whether the preview had gone stale) with the busy
    // pointer. A database failure shows the error window; a catalog changed since the preview is
    // said, and the file read again. True when written.
    bool write(const std::function<bool()>& apply);

    // The file's name as the history keeps it.
    QString origin() const;
    // Where the preview's own controls go, between the counts and the buttons.
    QVBoxLayout* body() const { return body_; }

    AppContext& ctx_;
    QString path_;
    files::Table table_;

private:
    void showChosenSheet();

    bool loaded_ = false;
    bool applied_ = false;
    QLabel* fileLabel_ = nullptr;
    QLabel* sheetLabel_ = nullptr;
    QComboBox* sheetCombo_ = nullptr;
    QLabel* countsLabel_ = nullptr;
    QVBoxLayout* body_ = nullptr;
    QPushButton* applyButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

// The filters of the open-file dialog of the imports.
QStringList tableFileFilters();

} // namespace tarvela
