CREATE TABLE [Person] (
	[Id] LONG NOT NULL,
	[Last] TEXT(50),
	[First] TEXT(50),
	[Email] TEXT(100),
	[Born] DATETIME,
	CONSTRAINT [PK_Person] PRIMARY KEY ([Id])
);
CREATE UNIQUE INDEX [IX_Email] ON [Person] ([Email]) WITH IGNORE NULL;
CREATE INDEX [IX_Name] ON [Person] ([Last], [First] DESC);
CREATE INDEX [IX_Last] ON [Person] ([Last]) WITH DISALLOW NULL;
