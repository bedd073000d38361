CREATE TABLE [Parent] (
	[Id] LONG NOT NULL,
	[Code] TEXT(10),
	CONSTRAINT [PK_Parent] PRIMARY KEY ([Id]),
	CONSTRAINT [UQ_Parent_Code] UNIQUE ([Code])
);
CREATE TABLE [Child] (
	[Id] LONG NOT NULL,
	[ParentId] LONG,
	[Qty] LONG,
	CONSTRAINT [PK_Child] PRIMARY KEY ([Id])
);
CREATE TABLE [Note] (
	[Id] LONG NOT NULL,
	[ParentId] LONG,
	[ChildId] LONG,
	CONSTRAINT [PK_Note] PRIMARY KEY ([Id])
);
ALTER TABLE [Child]
	ADD CONSTRAINT [FK_Child_Parent]
	FOREIGN KEY ([ParentId]) REFERENCES [Parent] ([Id]);
ALTER TABLE [Child] ADD CONSTRAINT [CK_Qty] CHECK ([Qty] > 0);
