#include "catalog_fixture.h"

#include "catalogs/catalog_statements.h"
#include "catalogs/customer_catalog.h"
#include "catalogs/list_grids.h"

namespace tarvela::test {
namespace {

using namespace catalogs;

class CustomerCatalog : public CatalogFixture {
protected:
    QStringList listed(const QString& name, const QString& town) {
        const grid::GridPaint paint =
            paintCustomerList(conn().query(customerListStatement(name, town) + kOrderByNombre));
        QStringList out;
        for (size_t r = 1; r < paint.rows.size(); ++r)
            out << paint.rows[r][kCliNombre].text + "/" + paint.rows[r][kCliLocalidad].text;
        return out;
    }
};

TEST_F(CustomerCatalog, SearchesByNameAndTownAnywhereInThem) {
    const CustomerRecord customers[] = {
        {"Tambo La Paz", "Ruta 5", "Villa María", "", ""},
        {"Feedlot O'Brien", "", "San Marcos Sud", "", ""},
        {"Granja Avícola", "", "Marcos Juárez", "", ""},
    };
    for (const auto& customer : customers)
        createCustomer(conn(), customer);
    EXPECT_EQ(listed("", ""),
              QStringList({"Feedlot O'Brien/San Marcos Sud", "Granja Avícola/Marcos Juárez",
                           "Tambo La Paz/Villa María"}));
    EXPECT_EQ(listed("", "marcos"),
              QStringList({"Feedlot O'Brien/San Marcos Sud", "Granja Avícola/Marcos Juárez"}));
    EXPECT_EQ(listed(" o'b ", "marcos"), QStringList({"Feedlot O'Brien/San Marcos Sud"}));
    EXPECT_TRUE(listed("Tambo", "Marcos").isEmpty());
}

TEST_F(CustomerCatalog, CreatesLoadsAndUpdatesTheFiveTexts) {
    EXPECT_EQ(checkCustomer({" ", "Ruta 5", "", "", ""}).message, "Debe ingresar el nombre");
    EXPECT_EQ(checkCustomer({}).field, CustomerField::Name);
    EXPECT_TRUE(checkCustomer({"Tambo", "", "", "", ""}).passed());

    const CustomerRecord customer{"Tambo", "Ruta 5 km 3", "Villa María", "0353 155", "t@x.ar"};
    EXPECT_EQ(createCustomer(conn(), customer), 1);
    EXPECT_EQ(loadCustomer(conn(), 1), customer);
    updateCustomer(conn(), 1, {"Tambo d'Or", "", "", "", ""}, customerStamp(conn(), 1));
    EXPECT_EQ(loadCustomer(conn(), 1), (CustomerRecord{"Tambo d'Or", "", "", "", ""}));
    EXPECT_THROW(updateCustomer(conn(), 2, customer, QString()), db::DbError);
    EXPECT_FALSE(loadCustomer(conn(), 2).has_value());
    conn().execute("insert into clientes (idCliente) values (7)");
    EXPECT_EQ(loadCustomer(conn(), 7), CustomerRecord{});
}

TEST_F(CustomerCatalog, ACustomerWithFormulasIsKept) {
    addCustomer(1, "Tambo");
    addCustomer(2, "Feedlot");
    addFormula(1, "100", 0, 3, "Recría", 1);
    addFormula(2, "100", 1, 3, "Recría", 0);
    EXPECT_EQ(deleteCustomer(conn(), 1), CustomerDeletion::HasFormulas);
    EXPECT_EQ(count("select count(*) from clientes"), 2);
    EXPECT_EQ(deleteCustomerQuestion("Tambo"), "Desea eliminar el Cliente Tambo ?");
    EXPECT_EQ(customerHasFormulasMessage("Tambo"),
              "El Cliente << Tambo >> posee Formulas Cargadas ");
}

TEST_F(CustomerCatalog, DeletingTheSavedFilterCustomerClearsIt) {
    addCustomer(1, "Tambo");
    addCustomer(2, "Feedlot");
    conn().execute("update parametros set idcliente=2");
    EXPECT_EQ(deleteCustomer(conn(), 1), CustomerDeletion::Deleted);
    EXPECT_EQ(count("select idcliente from parametros"), 2);
    EXPECT_EQ(deleteCustomer(conn(), 2), CustomerDeletion::Deleted);
    EXPECT_EQ(count("select idcliente from parametros"), 0);
    EXPECT_EQ(count("select count(*) from clientes"), 0);
}

} // namespace
} // namespace tarvela::test
