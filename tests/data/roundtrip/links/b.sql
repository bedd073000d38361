CREATE TABLE [Local] ([Id] LONG);
LINK TABLE [Suppliers] TO [tblSuppliers] SRC "/data/suppliers.mdb";
LINK TABLE [Orders] TO [dbo.Orders] ODBC "ODBC;DSN=Shop;Trusted_Connection=Yes";
