#pragma once

#include <QRect>
#include <QSize>

#include <array>

// Where the main window places its pictures on its first activation. Positions are worked out
// in twips (15 per pixel) as the window was designed, and returned in pixels.
namespace tarvela {

struct MainLayoutInput {
    QSize window; // the client area
    QSize makerLogo;
    QSize selection;              // imgSeleccion
    std::array<QSize, 3> buttons; // btnTipoFormulacion 1 to 3
};

struct MainLayout {
    QRect makerLogo;
    QRect selection;
    std::array<QRect, 3> buttons;
    int lineWidth = 0; // Line1 spans the window
};

MainLayout computeMainLayout(const MainLayoutInput& in);

} // namespace tarvela
