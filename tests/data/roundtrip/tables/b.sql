CREATE TABLE [Keep] (
	[Id] LONG NOT NULL,
	[Name] TEXT(50),
	CONSTRAINT [PK_Keep] PRIMARY KEY ([Id])
);
CREATE TABLE [Fresh] (
	[Id] AUTOINCREMENT,
	[Code] TEXT(10) NOT NULL,
	[Title] TEXT(100),
	CONSTRAINT [PK_Fresh] PRIMARY KEY ([Id]),
	CONSTRAINT [UQ_Fresh_Code] UNIQUE ([Code])
);
CREATE TABLE [Fresh Detail] (
	[FreshId] LONG,
	[Line] SMALLINT
);
ALTER TABLE [Fresh Detail]
	ADD CONSTRAINT [FK_Detail_Fresh]
	FOREIGN KEY ([FreshId]) REFERENCES [Fresh] ([Id]);
