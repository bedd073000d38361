CREATE TABLE [Item] (
	[Id] LONG NOT NULL,
	[Name] TEXT(50),
	[Price] CURRENCY,
	[Ratio] DOUBLE,
	[Total] CURRENCY,
	CONSTRAINT [PK_Item] PRIMARY KEY ([Id])
);
ALTER TABLE [Item] FORMAT [Ratio] SET "Percent";
ALTER TABLE [Item] EXPRESSION [Total] SET "[Price]*2";
