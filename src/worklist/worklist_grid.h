#pragma once

#include "grid/grid_paint.h"
#include "reports/workbook.h"
#include "worklist/reformulation.h"

#include <QChar>

#include <vector>

// How "Reformular Fórmulas" shows its results: one line per formula that ran, the cost change
// coloured (a rise red, a fall green), sortable by any column on the figures themselves.
namespace tarvela::worklist {

enum WorklistColumn {
    kColMarca = 0, // the mark of an optimal result, for "Grabar versiones"
    kColCodigo,
    kColProducto,
    kColCliente,
    kColVersion,
    kColCostoAnterior,
    kColCostoActual,
    kColVariacion,
    kColEstado,
    kColEntran,
    kColSalen,
    kColumnCount
};

// The grid: the heading row, then one row per row that ran, in the rows' order.
grid::GridPaint paintWorklist(const std::vector<Reformulated>& rows, QChar decimalSeparator);

// The rows shown by the grid: those that ran (indices into rows, in order).
std::vector<int> shownRows(const std::vector<Reformulated>& rows);

// Sorts the rows by a column's values (numbers as numbers, codes in code order, empty cells
// last), keeping the order of equal ones.
void sortWorklist(std::vector<Reformulated>& rows, int column, bool ascending);

// The grid as the worksheet "Exportar" writes: the headings, then the figures as numbers.
reports::Sheet worklistSheet(const std::vector<Reformulated>& rows);

} // namespace tarvela::worklist
