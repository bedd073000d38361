CREATE TABLE [Книги] (
	[Код] LONG NOT NULL,
	[Название] TEXT(200),
	[Автор] TEXT(100),
	CONSTRAINT [PK_Книги] PRIMARY KEY ([Код])
);
CREATE TABLE [Order Details] ([Order Id] LONG, [Line No] SMALLINT, [Größe] DOUBLE);
CREATE INDEX [IX_Автор] ON [Книги] ([Автор]);
CREATE VIEW [Все книги] AS SELECT [Код], [Название] FROM [Книги];
