CREATE TABLE [Local] ([Id] LONG, [Name] TEXT(20));
LINK TABLE [Suppliers] TO [tblSuppliers] SRC "/data/suppliers.mdb";
LINK TABLE [Orders] TO [dbo.Orders] ODBC "ODBC;DSN=Shop;Trusted_Connection=Yes";
