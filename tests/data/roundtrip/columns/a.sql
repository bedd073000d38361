CREATE TABLE [Stock] (
	[Id] LONG NOT NULL,
	[Name] TEXT(20),
	[Qty] LONG,
	[Old] TEXT(10),
	[Note] MEMO,
	[Price] CURRENCY DEFAULT 1,
	CONSTRAINT [PK_Stock] PRIMARY KEY ([Id])
);
