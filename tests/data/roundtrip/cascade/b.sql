CREATE TABLE [Customer] (
	[Id] LONG NOT NULL,
	[Name] TEXT(50),
	CONSTRAINT [PK_Customer] PRIMARY KEY ([Id], [Name])
);
CREATE TABLE [Invoice] (
	[No] LONG NOT NULL,
	[CustomerId] LONG,
	[CustomerName] TEXT(50),
	[Total] DOUBLE,
	CONSTRAINT [PK_Invoice] PRIMARY KEY ([No])
);
CREATE TABLE [Region] ([Code] TEXT(10) NOT NULL, CONSTRAINT [PK_Region] PRIMARY KEY ([Code]));
CREATE TABLE [Shop] ([Id] LONG, [RegionCode] TEXT(10));
ALTER TABLE [Invoice] ADD CONSTRAINT [FK_Invoice_Customer] FOREIGN KEY ([CustomerId], [CustomerName]) REFERENCES [Customer] ([Id], [Name]);
ALTER TABLE [Shop] ADD CONSTRAINT [FK_Shop_Region] FOREIGN KEY ([RegionCode]) REFERENCES [Region] ([Code]) ON UPDATE CASCADE;
