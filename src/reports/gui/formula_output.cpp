#include "reports/gui/formula_output.h"

#include "formulation/formula_composition.h"
#include "reports/csv_export.h"
#include "reports/formula_csv.h"
#include "reports/formula_document.h"
#include "reports/formula_printout.h"
#include "reports/formula_workbook.h"
#include "reports/gui/generated_document.h"
#include "reports/page_painter.h"
#include "widgets/errores_window.h"
#include "widgets/modal_launcher.h"

#include <QDate>
#include <QPrinter>
#include <QPrinterInfo>

namespace tarvela {

namespace {

// The units come from the catalog; a catalog that cannot be read leaves them out.
reports::FormulaReport reportOf(AppContext& ctx, const formulation::WorkingModel& model,
                                bool includeCosts) {
    reports::FormulaReport report{model, includeCosts, QDate::currentDate(), displaySeparator(ctx)};
    try {
        report.units = formulation::nutrientUnits(model, ctx.db());
    } catch (const db::DbError&) {
        report.units.clear();
    }
    return report;
}

QString documentTitle(const formulation::WorkingModel& model) {
    return QStringLiteral("Fórmula ") + model.header.producto.trimmed();
}

} // namespace

void imprimeImpresora(AppContext& ctx, const formulation::WorkingModel& model, bool includeCosts,
                      QWidget* parent) {
    const reports::FormulaReport report = reportOf(ctx, model, includeCosts);
    if (ctx.ui().hasDefaultPrinter()) {
        bool printed = false;
        {
            BusyPointer busy(ctx.ui());
            QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
            printer.setFullPage(true);
            printer.setDocName(documentTitle(model));
            printed = reports::printFormula(printer, report);
        }
        if (!printed) {
            errores window(ctx, QStringLiteral("No se pudo imprimir la Fórmula"), 0,
                           QStringLiteral("La impresora no aceptó el documento"), parent);
            execModal(ctx, window);
        }
        return;
    }
    reports::WrittenFile file;
    {
        BusyPointer busy(ctx.ui());
        file = reports::writeNewFile(
            ctx.ui().documentsFolder(), reports::formulaDocumentName(model.header),
            QStringLiteral("pdf"), [&](const QString& path) {
                return reports::writePdf(path, documentTitle(model),
                                         [&](QPagedPaintDevice& device) {
                                             return reports::printFormula(device, report);
                                         });
            });
    }
    deliverDocument(ctx, file, parent);
}

void imprimeWord(AppContext& ctx, const formulation::WorkingModel& model, bool includeCosts,
                 QWidget* parent) {
    reports::WrittenFile file;
    {
        BusyPointer busy(ctx.ui());
        const reports::TextDocument document =
            reports::formulaDocument(reportOf(ctx, model, includeCosts));
        file = reports::writeNewFile(
            ctx.ui().temporaryFolder(), reports::formulaDocumentName(model.header),
            QStringLiteral("odt"),
            [&](const QString& path) { return reports::writeOpenDocument(document, path); });
    }
    deliverDocument(ctx, file, parent);
}

void exportarCSV(AppContext& ctx, const formulation::WorkingModel& model, bool includeCosts) {
    writeCsvFile(ctx.ui(), reports::formulaCsvTable(reportOf(ctx, model, includeCosts)), false);
}

void exportarExcel(AppContext& ctx, const formulation::WorkingModel& model, bool includeCosts,
                   QWidget* parent) {
    reports::WrittenFile file;
    {
        BusyPointer busy(ctx.ui());
        const reports::Sheet sheet = reports::formulaSheet(reportOf(ctx, model, includeCosts));
        file = reports::saveNewWorkbook(sheet, ctx.ui().temporaryFolder(),
                                        reports::formulaDocumentName(model.header));
    }
    deliverDocument(ctx, file, parent);
}

void outputFormula(AppContext& ctx, const formulation::WorkingModel& model,
                   FormulaDestination destination, bool includeCosts, QWidget* parent) {
    switch (destination) {
    case FormulaDestination::Printer:
        imprimeImpresora(ctx, model, includeCosts, parent);
        break;
    case FormulaDestination::Word:
        imprimeWord(ctx, model, includeCosts, parent);
        break;
    case FormulaDestination::Csv:
        exportarCSV(ctx, model, includeCosts);
        break;
    case FormulaDestination::Excel:
        exportarExcel(ctx, model, includeCosts, parent);
        break;
    case FormulaDestination::None:
        break;
    }
}

} // namespace tarvela
