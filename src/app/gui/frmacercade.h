#pragma once

#include <QDialog>

class QLabel;

namespace tarvela {

// The about window: the system's name, its version and two lines about the maker.
class frmacercade : public QDialog {
    Q_OBJECT

public:
    explicit frmacercade(QWidget* parent = nullptr);

    void showVersion();
    void acknowledge();

private:
    QLabel* lblVersion_ = nullptr;
};

} // namespace tarvela
