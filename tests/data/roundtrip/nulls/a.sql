CREATE TABLE [Member] ([Id] LONG NOT NULL, [Email] TEXT(100), [Phone] TEXT(20), [Nick] TEXT(20));
