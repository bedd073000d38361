CREATE TABLE [Person] (
	[Id] LONG NOT NULL,
	[Last] TEXT(50),
	[First] TEXT(50),
	[Email] TEXT(100),
	[Born] DATETIME,
	CONSTRAINT [PK_Person] PRIMARY KEY ([Id])
);
CREATE UNIQUE INDEX [IX_Email] ON [Person] ([Email]);
CREATE INDEX [IX_Born] ON [Person] ([Born]);
CREATE INDEX [IX_Last] ON [Person] ([Last]);
