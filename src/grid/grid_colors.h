#pragma once

#include <QColor>

// The colours of the program's grids.
namespace tarvela::grid::colors {

inline const QColor header{128, 128, 128};   // heading row and separator cells
inline const QColor outOfMix{224, 224, 224}; // ingredient not in the mix
inline const QColor outOfLimits{255, 0, 0};  // with white text
inline const QColor differsFromCatalog{0, 192, 0};
inline const QColor background{255, 255, 255};
inline const QColor text{0, 0, 0};
inline const QColor lightText{255, 255, 255};

} // namespace tarvela::grid::colors
