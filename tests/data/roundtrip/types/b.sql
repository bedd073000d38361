CREATE TABLE [AllTypes] (
	[Id] LONG NOT NULL,
	[Flag] BIT,
	[Tiny] BYTE,
	[Small] SMALLINT,
	[Whole] LONG DEFAULT 7,
	[Money] CURRENCY DEFAULT 0,
	[Real4] SINGLE,
	[Real8] DOUBLE DEFAULT 0.5,
	[When] DATETIME DEFAULT Now(),
	[Raw] BINARY(16),
	[Label] TEXT(40) WITH COMPRESSION DEFAULT "n/a",
	[Fixed] CHAR(3),
	[Blob] LONGBINARY,
	[Long Text] MEMO,
	[Uid] GUID,
	[Exact] DECIMAL(12, 4)
);
CREATE TABLE [Counted] (
	[Id] AUTOINCREMENT,
	[Name] TEXT(20) NOT NULL
);
