CREATE TABLE [Книги] (
	[Код] LONG NOT NULL,
	[Название] TEXT(100),
	CONSTRAINT [PK_Книги] PRIMARY KEY ([Код])
);
CREATE TABLE [Order Details] ([Order Id] LONG, [Line No] SMALLINT);
