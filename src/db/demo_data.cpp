#include "db/schema.h"
#include "db/statements.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStringList>

#include <vector>

namespace tarvela::db {

namespace {

// One CSV file of the demo catalog: a header row, comma-separated fields (double quotes around
// a field allow commas and doubled quotes in it), UTF-8.
class CsvTable {
public:
    CsvTable(const QString& folder, const QString& name) : name_(name) {
        QFile file(QDir(folder).filePath(name));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            throw DbError(-1, QStringLiteral("No se puede leer el archivo '%1'.")
                                  .arg(QDir(folder).filePath(name)));
        const QString text = QString::fromUtf8(file.readAll());
        for (const QString& line : text.split(QLatin1Char('\n'))) {
            if (line.trimmed().isEmpty())
                continue;
            if (header_.isEmpty())
                header_ = splitLine(line);
            else
                rows_.push_back(splitLine(line));
        }
    }

    int rowCount() const { return static_cast<int>(rows_.size()); }

    QString text(int row, const QString& column) const {
        const qsizetype c = header_.indexOf(column);
        if (c < 0)
            throw DbError(
                -1, QStringLiteral("El archivo '%1' no tiene la columna '%2'.").arg(name_, column));
        const QStringList& fields = rows_.at(static_cast<size_t>(row));
        return c < fields.size() ? fields[c].trimmed() : QString();
    }

    // An integer or a real written with a point; "null" for an empty field.
    QString number(int row, const QString& column) const {
        const QString value = text(row, column);
        if (value.isEmpty())
            return QStringLiteral("null");
        bool ok = false;
        const double parsed = QLocale::c().toDouble(value, &ok);
        if (!ok)
            throw DbError(-1, QStringLiteral("Valor no numérico '%1' en la columna '%2' de '%3'.")
                                  .arg(value, column, name_));
        return sqlReal(parsed);
    }

    QString integer(int row, const QString& column) const {
        const QString value = text(row, column);
        if (value.isEmpty())
            return QStringLiteral("null");
        bool ok = false;
        const qlonglong parsed = QLocale::c().toLongLong(value, &ok);
        if (!ok)
            throw DbError(-1, QStringLiteral("Valor no entero '%1' en la columna '%2' de '%3'.")
                                  .arg(value, column, name_));
        return sqlInt(parsed);
    }

    QString date(int row, const QString& column) const {
        const QString value = text(row, column);
        if (value.isEmpty())
            return QStringLiteral("null");
        const QDate parsed = QDate::fromString(value, Qt::ISODate);
        if (!parsed.isValid())
            throw DbError(-1, QStringLiteral("Fecha no válida '%1' en la columna '%2' de '%3'.")
                                  .arg(value, column, name_));
        return sqlDate(parsed);
    }

private:
    static QStringList splitLine(QString line) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        QStringList fields;
        QString field;
        bool quoted = false;
        for (qsizetype i = 0; i < line.size(); ++i) {
            const QChar c = line[i];
            if (quoted) {
                if (c == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
                    field += c;
                    ++i;
                } else if (c == u'"') {
                    quoted = false;
                } else {
                    field += c;
                }
            } else if (c == u'"') {
                quoted = true;
            } else if (c == u',') {
                fields << field;
                field.clear();
            } else {
                field += c;
            }
        }
        fields << field;
        return fields;
    }

    QString name_;
    QStringList header_;
    std::vector<QStringList> rows_;
};

void loadNutrients(Connection& conn, const CsvTable& csv) {
    for (int r = 0; r < csv.rowCount(); ++r)
        conn.execute(
            QStringLiteral("insert into propiedades (id_propiedad,nombre,unidad) values (") +
            csv.integer(r, QStringLiteral("id")) + QLatin1Char(',') +
            sqlText(csv.text(r, QStringLiteral("nombre"))) + QLatin1Char(',') +
            sqlText(csv.text(r, QStringLiteral("unidad"))) + QLatin1Char(')'));
}

void loadIngredients(Connection& conn, const CsvTable& csv) {
    for (int r = 0; r < csv.rowCount(); ++r)
        conn.execute(QStringLiteral("insert into productos (id_producto,codigo,nombre,unidad,costo,"
                                    "materia_seca,idBase) values (") +
                     csv.integer(r, QStringLiteral("id")) + QLatin1Char(',') +
                     sqlCode(csv.text(r, QStringLiteral("codigo"))) + QLatin1Char(',') +
                     sqlText(csv.text(r, QStringLiteral("nombre"))) + QLatin1Char(',') +
                     sqlText(csv.text(r, QStringLiteral("unidad"))) + QLatin1Char(',') +
                     csv.number(r, QStringLiteral("costo")) + QLatin1Char(',') +
                     csv.number(r, QStringLiteral("materia_seca")) + QLatin1Char(',') +
                     csv.integer(r, QStringLiteral("base")) + QLatin1Char(')'));
}

void loadComposition(Connection& conn, const CsvTable& csv) {
    for (int r = 0; r < csv.rowCount(); ++r)
        conn.execute(
            QStringLiteral(
                "insert into producto_propiedad (id_producto,id_propiedad,valor) values (") +
            csv.integer(r, QStringLiteral("id_ingrediente")) + QLatin1Char(',') +
            csv.integer(r, QStringLiteral("id_nutriente")) + QLatin1Char(',') +
            csv.number(r, QStringLiteral("valor")) + QLatin1Char(')'));
    // The composition is complete: every ingredient has a row for every nutrient.
    conn.execute(
        QStringLiteral("insert into producto_propiedad (id_producto,id_propiedad,valor) "
                       "select p.id_producto,q.id_propiedad,0 from productos p,propiedades q "
                       "where not exists (select 1 from producto_propiedad pp "
                       "where pp.id_producto=p.id_producto and pp.id_propiedad=q.id_propiedad)"));
}

void loadFormulas(Connection& conn, const CsvTable& csv) {
    for (int r = 0; r < csv.rowCount(); ++r)
        conn.execute(QStringLiteral("insert into formulas (id_formula,codigo,producto,cantidad,"
                                    "version,fecha_creacion,fecha_modificacion,tipoBase,"
                                    "tipoBaseNutrientes,idBase,idCliente) values (") +
                     csv.integer(r, QStringLiteral("id")) + QLatin1Char(',') +
                     sqlCode(csv.text(r, QStringLiteral("codigo"))) + QLatin1Char(',') +
                     sqlText(csv.text(r, QStringLiteral("producto"))) + QLatin1Char(',') +
                     csv.number(r, QStringLiteral("cantidad")) + QLatin1Char(',') +
                     csv.integer(r, QStringLiteral("version")) + QLatin1Char(',') +
                     csv.date(r, QStringLiteral("fecha_creacion")) + QLatin1Char(',') +
                     csv.date(r, QStringLiteral("fecha_modificacion")) + QLatin1Char(',') +
                     csv.integer(r, QStringLiteral("tipo_base")) + QLatin1Char(',') +
                     csv.integer(r, QStringLiteral("tipo_base_nutrientes")) + QLatin1Char(',') +
                     csv.integer(r, QStringLiteral("base")) + QLatin1Char(',') +
                     csv.integer(r, QStringLiteral("id_cliente")) + QLatin1Char(')'));
}

void loadFormulaIngredients(Connection& conn, const CsvTable& csv) {
    for (int r = 0; r < csv.rowCount(); ++r)
        conn.execute(
            QStringLiteral("insert into formula_producto (id_formula,id_producto,minimo,maximo,"
                           "cantidad_humeda,cantidad_seca,porcentaje_humeda,porcentaje_seca,"
                           "materia_seca,costo) values (") +
            csv.integer(r, QStringLiteral("id_formula")) + QLatin1Char(',') +
            csv.integer(r, QStringLiteral("id_ingrediente")) + QLatin1Char(',') +
            csv.number(r, QStringLiteral("minimo")) + QLatin1Char(',') +
            csv.number(r, QStringLiteral("maximo")) + QLatin1Char(',') +
            csv.number(r, QStringLiteral("cantidad_humeda")) + QLatin1Char(',') +
            csv.number(r, QStringLiteral("cantidad_seca")) + QLatin1Char(',') +
            csv.number(r, QStringLiteral("porcentaje_humeda")) + QLatin1Char(',') +
            csv.number(r, QStringLiteral("porcentaje_seca")) + QLatin1Char(',') +
            csv.number(r, QStringLiteral("materia_seca")) + QLatin1Char(',') +
            csv.number(r, QStringLiteral("costo")) + QLatin1Char(')'));
}

void loadFormulaNutrients(Connection& conn, const CsvTable& csv) {
    for (int r = 0; r < csv.rowCount(); ++r)
        conn.execute(QStringLiteral("insert into formula_propiedad (id_formula,id_propiedad,minimo,"
                                    "maximo,valor) values (") +
                     csv.integer(r, QStringLiteral("id_formula")) + QLatin1Char(',') +
                     csv.integer(r, QStringLiteral("id_nutriente")) + QLatin1Char(',') +
                     csv.number(r, QStringLiteral("minimo")) + QLatin1Char(',') +
                     csv.number(r, QStringLiteral("maximo")) + QLatin1Char(',') +
                     csv.number(r, QStringLiteral("valor")) + QLatin1Char(')'));
}

void loadGroups(Connection& conn, const CsvTable& groups, const CsvTable& members) {
    for (int r = 0; r < groups.rowCount(); ++r)
        conn.execute(QStringLiteral("insert into grupos (id_grupo,nombre,idBase) values (") +
                     groups.integer(r, QStringLiteral("id")) + QLatin1Char(',') +
                     sqlText(groups.text(r, QStringLiteral("nombre"))) + QLatin1Char(',') +
                     groups.integer(r, QStringLiteral("base")) + QLatin1Char(')'));
    for (int r = 0; r < members.rowCount(); ++r)
        conn.execute(QStringLiteral("insert into grupo_producto (id_grupo,id_producto) values (") +
                     members.integer(r, QStringLiteral("id_grupo")) + QLatin1Char(',') +
                     members.integer(r, QStringLiteral("id_ingrediente")) + QLatin1Char(')'));
}

void loadFormulaGroups(Connection& conn, const CsvTable& csv) {
    for (int r = 0; r < csv.rowCount(); ++r)
        conn.execute(QStringLiteral("insert into formula_grupo (id_formula,id_grupo,minimo,maximo,"
                                    "valor) values (") +
                     csv.integer(r, QStringLiteral("id_formula")) + QLatin1Char(',') +
                     csv.integer(r, QStringLiteral("id_grupo")) + QLatin1Char(',') +
                     csv.number(r, QStringLiteral("minimo")) + QLatin1Char(',') +
                     csv.number(r, QStringLiteral("maximo")) + QLatin1Char(',') +
                     csv.number(r, QStringLiteral("valor")) + QLatin1Char(')'));
}

void loadFormulaRatios(Connection& conn, const CsvTable& csv) {
    for (int r = 0; r < csv.rowCount(); ++r)
        conn.execute(QStringLiteral("insert into formula_relacion (id_formula,id_propiedad_num,"
                                    "id_propiedad_den,minimo,maximo,valor) values (") +
                     csv.integer(r, QStringLiteral("id_formula")) + QLatin1Char(',') +
                     csv.integer(r, QStringLiteral("id_nutriente_num")) + QLatin1Char(',') +
                     csv.integer(r, QStringLiteral("id_nutriente_den")) + QLatin1Char(',') +
                     csv.number(r, QStringLiteral("minimo")) + QLatin1Char(',') +
                     csv.number(r, QStringLiteral("maximo")) + QLatin1Char(',') +
                     csv.number(r, QStringLiteral("valor")) + QLatin1Char(')'));
}

void loadPlans(Connection& conn, const CsvTable& plans, const CsvTable& formulas,
               const CsvTable& stocks) {
    for (int r = 0; r < plans.rowCount(); ++r)
        conn.execute(QStringLiteral("insert into planes (id_plan,nombre,fecha,idBase) values (") +
                     plans.integer(r, QStringLiteral("id")) + QLatin1Char(',') +
                     sqlText(plans.text(r, QStringLiteral("nombre"))) + QLatin1Char(',') +
                     plans.date(r, QStringLiteral("fecha")) + QLatin1Char(',') +
                     plans.integer(r, QStringLiteral("base")) + QLatin1Char(')'));
    for (int r = 0; r < formulas.rowCount(); ++r)
        conn.execute(QStringLiteral("insert into plan_formula (id_plan,id_formula,cantidad) "
                                    "values (") +
                     formulas.integer(r, QStringLiteral("id_plan")) + QLatin1Char(',') +
                     formulas.integer(r, QStringLiteral("id_formula")) + QLatin1Char(',') +
                     formulas.number(r, QStringLiteral("cantidad")) + QLatin1Char(')'));
    for (int r = 0; r < stocks.rowCount(); ++r)
        conn.execute(QStringLiteral("insert into plan_existencia (id_plan,id_producto,"
                                    "existencia) values (") +
                     stocks.integer(r, QStringLiteral("id_plan")) + QLatin1Char(',') +
                     stocks.integer(r, QStringLiteral("id_ingrediente")) + QLatin1Char(',') +
                     stocks.number(r, QStringLiteral("existencia")) + QLatin1Char(')'));
}

} // namespace

void loadDemo(Connection& conn, const QString& dataDir) {
    // All files are read before anything is written.
    const CsvTable nutrients(dataDir, QStringLiteral("nutrientes.csv"));
    const CsvTable ingredients(dataDir, QStringLiteral("ingredientes.csv"));
    const CsvTable composition(dataDir, QStringLiteral("composicion.csv"));
    const CsvTable formulas(dataDir, QStringLiteral("formulas.csv"));
    const CsvTable formulaIngredients(dataDir, QStringLiteral("formula_ingredientes.csv"));
    const CsvTable formulaNutrients(dataDir, QStringLiteral("formula_nutrientes.csv"));
    const CsvTable groups(dataDir, QStringLiteral("grupos.csv"));
    const CsvTable groupMembers(dataDir, QStringLiteral("grupo_ingredientes.csv"));
    const CsvTable formulaGroups(dataDir, QStringLiteral("formula_grupos.csv"));
    const CsvTable formulaRatios(dataDir, QStringLiteral("formula_relaciones.csv"));
    const CsvTable plans(dataDir, QStringLiteral("planes.csv"));
    const CsvTable planFormulas(dataDir, QStringLiteral("plan_formulas.csv"));
    const CsvTable planStocks(dataDir, QStringLiteral("plan_existencias.csv"));

    Transaction transaction(conn);
    loadNutrients(conn, nutrients);
    loadIngredients(conn, ingredients);
    loadComposition(conn, composition);
    loadFormulas(conn, formulas);
    loadFormulaIngredients(conn, formulaIngredients);
    loadFormulaNutrients(conn, formulaNutrients);
    loadGroups(conn, groups, groupMembers);
    loadFormulaGroups(conn, formulaGroups);
    loadFormulaRatios(conn, formulaRatios);
    loadPlans(conn, plans, planFormulas, planStocks);
    transaction.commit();
}

} // namespace tarvela::db
