CREATE TABLE [Local] ([Id] LONG);
LINK TABLE [OldLink] TO [Customers] SRC "/data/old.mdb";
