#include "catalogs/group_catalog.h"

#include "catalogs/catalog_keys.h"
#include "catalogs/catalog_statements.h"
#include "db/change_log.h"
#include "db/statements.h"

namespace tarvela::catalogs {

namespace {

int count(db::Connection& conn, const QString& statement) {
    const db::Result result = conn.query(statement);
    return result.isEmpty() ? 0 : result.value(0, 0).toInt();
}

void insertMembers(db::Connection& conn, const QString& key,
                   const std::vector<GroupMember>& members) {
    for (const GroupMember& member : members)
        conn.execute(QStringLiteral("insert into grupo_producto (id_grupo,id_producto) values (") +
                     key + QLatin1Char(',') + db::sqlInt(member.id_producto) + QLatin1Char(')'));
}

QString formulasText(int formulas) {
    return formulas == 1 ? QStringLiteral("1 fórmula")
                         : QString::number(formulas) + QStringLiteral(" fórmulas");
}

} // namespace

QString groupListStatement(int base, const QString& nombre) {
    return QStringLiteral("select g.id_grupo,g.nombre,(select count(*) from grupo_producto gp "
                          "where gp.id_grupo=g.id_grupo) as miembros from grupos g where "
                          "g.idBase=") +
           db::sqlInt(base) + containsCondition(QStringLiteral("g.nombre"), nombre) +
           QStringLiteral(" order by g.nombre");
}

grid::GridPaint paintGroupList(const db::Result& result) {
    static const std::vector<grid::GridColumn> columns = {
        {QStringLiteral("id_grupo"), QString(), 0},
        {QStringLiteral("nombre"), QStringLiteral("Nombre"), grid::kRestWidth},
        {QStringLiteral("miembros"), QStringLiteral("Ingredientes"), 1300, true},
    };
    return grid::paintTable(columns, result.rowCount(),
                            [&](int r, int c) { return result.value(r, c).toString(); });
}

grid::GridPaint paintGroupMembers(const std::vector<GroupMember>& members) {
    static const std::vector<grid::GridColumn> columns = {
        {QStringLiteral("id_producto"), QString(), 0},
        {QStringLiteral("codigo"), QStringLiteral("Código"), 1200, true},
        {QStringLiteral("nombre"), QStringLiteral("Descripción"), grid::kRestWidth},
    };
    return grid::paintTable(columns, static_cast<int>(members.size()), [&](int r, int c) {
        const GroupMember& m = members[static_cast<size_t>(r)];
        return c == 0 ? QString::number(m.id_producto) : c == 1 ? m.codigo : m.nombre;
    });
}

std::optional<GroupRecord> loadGroup(db::Connection& conn, int id) {
    const QString key = db::sqlInt(id);
    const db::Result row =
        conn.query(QStringLiteral("select nombre from grupos where id_grupo=") + key);
    if (row.isEmpty())
        return std::nullopt;
    GroupRecord group;
    group.nombre = row.value(0, 0).isNull() ? QString() : row.value(0, 0).toString();
    const db::Result members = conn.query(
        QStringLiteral("select p.id_producto,p.codigo,p.nombre from grupo_producto gp, productos "
                       "p where gp.id_producto=p.id_producto and gp.id_grupo=") +
        key + QStringLiteral(" order by p.codigo"));
    for (int r = 0; r < members.rowCount(); ++r)
        group.miembros.push_back({members.value(r, 0).toInt(),
                                  members.value(r, 1).toString().trimmed(),
                                  members.value(r, 2).toString()});
    return group;
}

FieldCheck<GroupField> checkGroup(const GroupRecord& group) {
    if (group.nombre.trimmed().isEmpty())
        return {QStringLiteral("Debe ingresar el Nombre"), GroupField::Name};
    return {};
}

int createGroup(db::Connection& conn, int base, const GroupRecord& group) {
    db::Transaction transaction(conn);
    const int id = nextCatalogKey(conn, Catalog::Groups);
    const QString key = db::sqlInt(id);
    conn.execute(QStringLiteral("insert into grupos (id_grupo,nombre,idBase) values (") + key +
                 QLatin1Char(',') + db::sqlText(group.nombre) + QLatin1Char(',') +
                 db::sqlInt(base) + QLatin1Char(')'));
    insertMembers(conn, key, group.miembros);
    db::recordCreated(conn, QStringLiteral("grupos"), QStringLiteral("id_grupo"), id);
    transaction.commit();
    return id;
}

QString groupStamp(db::Connection& conn, int id) {
    return db::changeStamp(conn, QStringLiteral("grupos"), QStringLiteral("id_grupo"), id);
}

void updateGroup(db::Connection& conn, int id, const GroupRecord& group, const QString& stampRead) {
    const QString key = db::sqlInt(id);
    db::Transaction transaction(conn);
    const db::Result before =
        db::currentRow(conn, QStringLiteral("grupos"), QStringLiteral("id_grupo"), id, stampRead);
    const std::optional<GroupRecord> stored = loadGroup(conn, id);
    conn.execute(QStringLiteral("update grupos set nombre=") + db::sqlText(group.nombre) +
                 QStringLiteral(" where id_grupo=") + key);
    conn.execute(QStringLiteral("delete from grupo_producto where id_grupo=") + key);
    insertMembers(conn, key, group.miembros);
    const auto codes = [](const std::vector<GroupMember>& members) {
        QStringList out;
        for (const GroupMember& m : members)
            out << m.codigo;
        return out.join(QLatin1Char(','));
    };
    QString members;
    if (stored && stored->miembros != group.miembros)
        members = QStringLiteral("ingredientes: ") + codes(stored->miembros) +
                  QStringLiteral(" → ") + codes(group.miembros);
    db::recordUpdated(conn, QStringLiteral("grupos"), QStringLiteral("id_grupo"), id, before,
                      members);
    transaction.commit();
}

int formulasUsingGroup(db::Connection& conn, int id) {
    return count(conn, QStringLiteral("select count(distinct id_formula) from formula_grupo where "
                                      "id_grupo=") +
                           db::sqlInt(id));
}

void deleteGroup(db::Connection& conn, int id) {
    const QString where = QStringLiteral(" where id_grupo=") + db::sqlInt(id);
    db::Transaction transaction(conn);
    db::recordDeleted(conn, QStringLiteral("grupos"), QStringLiteral("id_grupo"), id);
    conn.execute(QStringLiteral("delete from formula_grupo") + where);
    conn.execute(QStringLiteral("delete from grupo_producto") + where);
    conn.execute(QStringLiteral("delete from grupos") + where);
    transaction.commit();
}

QString deleteGroupQuestion(const QString& name) {
    return QStringLiteral("Desea eliminar el Grupo ") + name + QStringLiteral(" ?");
}

QString groupInUseQuestion(const QString& name, int formulas) {
    return QStringLiteral("El Grupo << ") + name + QStringLiteral(" >> se usa en ") +
           formulasText(formulas) +
           QStringLiteral("\n\nSus límites se quitarán de esas fórmulas. ¿Confirma la Eliminación "
                          "del Grupo?");
}

QString groupMembersChangeQuestion(const QString& name, int formulas) {
    return QStringLiteral("El Grupo << ") + name + QStringLiteral(" >> se usa en ") +
           formulasText(formulas) +
           QStringLiteral("\n\nSus límites valdrán para los ingredientes del grupo tal como "
                          "quede. ¿Confirma los cambios?");
}

int formulasWithRatioOf(db::Connection& conn, int idPropiedad) {
    const QString key = db::sqlInt(idPropiedad);
    return count(conn, QStringLiteral("select count(distinct id_formula) from formula_relacion "
                                      "where id_propiedad_num=") +
                           key + QStringLiteral(" or id_propiedad_den=") + key);
}

QString nutrientInRatiosQuestion(const QString& name, int formulas) {
    return QStringLiteral("El Nutriente << ") + name +
           QStringLiteral(" >> forma parte de relaciones en ") + formulasText(formulas) +
           QStringLiteral("\n\nEsas relaciones se quitarán de las fórmulas. ¿Confirma la "
                          "Eliminación del Nutriente?");
}

} // namespace tarvela::catalogs
