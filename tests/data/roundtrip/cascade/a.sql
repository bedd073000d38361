CREATE TABLE [Customer] (
	[Id] LONG NOT NULL,
	[Name] TEXT(50),
	CONSTRAINT [PK_Customer] PRIMARY KEY ([Id])
);
CREATE TABLE [Invoice] (
	[No] LONG NOT NULL,
	[CustomerId] LONG,
	[Total] CURRENCY,
	CONSTRAINT [PK_Invoice] PRIMARY KEY ([No])
);
CREATE TABLE [Region] ([Code] TEXT(5) NOT NULL, CONSTRAINT [PK_Region] PRIMARY KEY ([Code]));
CREATE TABLE [Shop] ([Id] LONG, [RegionCode] TEXT(5));
ALTER TABLE [Invoice] ADD CONSTRAINT [FK_Invoice_Customer] FOREIGN KEY ([CustomerId]) REFERENCES [Customer] ([Id]);
ALTER TABLE [Shop] ADD CONSTRAINT [FK_Shop_Region] FOREIGN KEY ([RegionCode]) REFERENCES [Region] ([Code]);
