#pragma once

#include <QPixmap>
#include <QString>

// The pictures of the main window, drawn by the program: the three species (1 Bovinos,
// 2 Porcinos, 3 Aves) in colour and greyed, a small picture of each, the round centre picture
// and the two logos. Other windows show the current base with smallSpeciesPicture.
namespace tarvela {

// The species' name as its button shows it.
QString speciesName(int base);
// The picture on a base button: coloured when selected (imgBaseHab), greyed otherwise
// (imgBaseDes). A base outside 1 to 3 gives an empty picture.
QPixmap basePicture(int base, bool selected);
// A small picture of the species (imgTipoFormulacion).
QPixmap smallSpeciesPicture(int base);
// The round centre picture with its invitation to choose a species (imgSeleccion).
QPixmap selectionPicture();
inline const QString kSelectionText = QStringLiteral("Seleccione la especie para la cual formular");
QPixmap productLogo();
// The maker's logo, with its name under the mark.
QPixmap makerLogo(const QString& makerName);

} // namespace tarvela
